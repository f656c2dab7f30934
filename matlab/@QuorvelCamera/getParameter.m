function [value, limits] = getParameter(obj, number)
  % [value, limits] = cam.getParameter(number)  Current value and [limit0 limit1].
  %   number: the parameter's number (15 the width, 16 the height, 2 the
  %   pixel format, 7 the extra frames), or its name in the settings table
  %   (see cam.get). A number the camera lacks raises
  %   QuorvelML:parameterReadFailed.
  %   >> cam = QuorvelCamera(1002);
  %   >> [width, limits] = cam.getParameter(15)
  %   width = 640
  %   limits =
  %        16   4096
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'getParameter', 'a parameter number');
  number = parameterNumber(obj, number, 'getParameter');
  out = callHeld(obj, 4, 'GetParameter', number);
  if out{1} == 7
    error('QuorvelML:parameterReadFailed', ['Camera %d: GetParameter answered 7: the camera has no parameter %d, ', ...
          'or the driver could not read it; cam.parameters() lists those it has.'], obj.Id, number);
  end
  QuorvelCamera.check(out{1}, 'GetParameter', obj.Id);
  value = double(out{2});
  limits = double([out{3} out{4}]);
end
