function out = callHeld(obj, outputs, keyword, varargin)
  % Runs the keyword on the camera this handle holds and returns every
  % output; a camera the handle no longer holds, or that the driver no
  % longer has once a command failed, is reported as closed.
  if ~holds(obj)
    raiseClosed(obj);
  end
  out = cell(1, outputs);
  [out{:}] = QuorvelML(keyword, obj.Id, varargin{:});
  if out{1} ~= 0 && (~holds(obj) || letGoIfDetached(obj))
    raiseClosed(obj);
  end
end
