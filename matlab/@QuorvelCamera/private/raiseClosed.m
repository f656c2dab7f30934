function raiseClosed(obj)
  % The error of a handle whose camera is closed, or no longer its own.
  if claims('lost', obj.Id, obj.Serial)
    error('QuorvelML:closed', ['Camera %s is closed: the driver no longer has it (unplugged, switched off, ' ...
          'or its driver was reset). Open it again with QuorvelCamera(%s) once it is back.'], ...
          num2str(obj.Id), num2str(obj.Id));
  end
  error('QuorvelML:closed', 'Camera %s is closed.', num2str(obj.Id));
end
