function [value, limits] = getParameter(obj, number)
  % [value, limits] = cam.getParameter(number)  Current value and [limit0 limit1].
  %   number: the parameter's number (15 the width, 16 the height, 2 the
  %   pixel format, 7 the extra frames); a name is refused.
  %   >> cam = QuorvelCamera(1002);
  %   >> [width, limits] = cam.getParameter(15)
  %   width = 640
  %   limits =
  %        16   4096
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'getParameter', 'a parameter number');
  requireWhole(obj, number, 'getParameter', 'the parameter number', 2^32 - 1);
  out = runChecked(obj, 4, 'GetParameter', number);
  value = double(out{2});
  limits = double([out{3} out{4}]);
end
