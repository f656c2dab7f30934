function set(obj, name, value)
  % cam.set(name, value)  Writes a setting by its name (Exposure, Width, ...) within its limits.
  %   The names, their parameter numbers and units come from the table of
  %   the camera's type (quorvel-settings.tsv beside the MEX files);
  %   cam.parameters() lists them with their values and limits, and a name
  %   the table lacks is refused with the names it has
  %   (QuorvelML:unknownSetting). Any case is accepted. The value is
  %   checked as setParameter checks it.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.set('Exposure', 500);        % microseconds on the simulated cameras
  %   >> cam.get('Exposure')
  %   ans = 500
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 2, 'set', 'a setting''s name and a value');
  requireText(obj, name, 'set', 'the setting''s name');
  writeParameter(obj, settingNumber(obj, name, 'set'), value, false);
end
