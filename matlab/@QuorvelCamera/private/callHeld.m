function out = callHeld(obj, outputs, keyword, varargin)
  % Runs the keyword on the camera this handle holds and returns every
  % output; a camera the handle no longer holds is reported as closed.
  if ~obj.IsOpen
    raiseClosed(obj);
  end
  out = cell(1, outputs);
  [out{:}] = QuorvelML(keyword, obj.Id, varargin{:});
  if out{1} ~= 0 && ~obj.IsOpen
    raiseClosed(obj);
  end
end
