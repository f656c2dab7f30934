function [image, value] = preview(obj)
  % [image, value] = cam.preview()  A preview image and the driver's value with it.
  %   >> cam = QuorvelCamera(1001);
  %   >> [image, value] = cam.preview();
  %   >> class(image)
  %   ans = uint8
  %   >> delete(cam)
  out = runChecked(obj, 3, 'MemoryPreview');
  image = out{2};
  value = out{3};
end
