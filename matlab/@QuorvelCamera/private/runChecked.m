function out = runChecked(obj, outputs, keyword, varargin)
  % Runs the keyword on the camera with the given number of outputs and
  % raises the error of a non-zero status number.
  out = callHeld(obj, outputs, keyword, varargin{:});
  QuorvelCamera.check(out{1}, keyword, obj.Id);
end
