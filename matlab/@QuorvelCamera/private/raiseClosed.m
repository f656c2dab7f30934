function raiseClosed(obj)
  error('QuorvelML:closed', 'Camera %s is closed.', num2str(obj.Id));
end
