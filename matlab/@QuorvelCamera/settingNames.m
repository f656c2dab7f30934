function names = settingNames()
  % names = QuorvelCamera.settingNames()  Every name in the settings table, for cam.set and cam.get.
  %   The table (quorvel-settings.tsv beside the MEX files) names each
  %   camera type's parameters; cam.parameters() shows one camera's.
  %   >> QuorvelCamera.settingNames()
  %   ans =
  %   {
  %     [1,1] = PixelFormat
  %   ...
  rows = settingsTable();
  names = unique({rows.Name}, 'stable');
end
