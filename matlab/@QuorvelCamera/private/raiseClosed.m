function raiseClosed(obj)
  % The error of a handle whose camera is closed, or no longer its own.
  error('QuorvelML:closed', 'Camera %s is closed.', num2str(obj.Id));
end
