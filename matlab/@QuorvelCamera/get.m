function [value, limits, unit] = get(obj, name)
  % [value, limits, unit] = cam.get(name)  Reads a setting by its name (Exposure, Width, ...).
  %   value and limits as getParameter gives them, unit from the table of
  %   the camera's type (see cam.set).
  %   >> cam = QuorvelCamera(1002);
  %   >> [value, limits, unit] = cam.get('Width')
  %   value = 640
  %   limits =
  %        16   4096
  %   unit = pixels
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'get', 'a setting''s name');
  requireText(obj, name, 'get', 'the setting''s name');
  [number, row] = settingNumber(obj, name, 'get');
  [value, limits] = obj.getParameter(number);
  unit = row.Unit;
end
