function text = where(cameraId, name)
  % "Camera id: name", or the name alone for a call without a camera.
  if isempty(cameraId)
    text = name;
  else
    text = sprintf('Camera %d: %s', cameraId, name);
  end
end
