function sendSettings(obj)
  % cam.sendSettings()  Prepares and sends the camera's settings.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.sendSettings();
  %   >> delete(cam)
  runChecked(obj, 1, 'SendCfg');
end
