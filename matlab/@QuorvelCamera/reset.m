function reset(obj)
  % cam.reset()  Resets the camera.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.reset();
  %   >> delete(cam)
  runChecked(obj, 1, 'Reset');
end
