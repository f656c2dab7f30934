function value = info(obj, item)
  % value = cam.info(item)  One camera information item (0 type, 12 colour, ...).
  %   >> cam = QuorvelCamera(1001);
  %   >> type = cam.info(0)
  %   type = 5
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'info', 'an item number');
  requireWhole(obj, item, 'info', 'the item number', 2^32 - 1);
  out = runChecked(obj, 2, 'GetCameraInfo', item);
  value = double(out{2});
end
