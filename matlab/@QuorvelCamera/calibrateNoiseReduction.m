function calibrateNoiseReduction(obj, value)
  % cam.calibrateNoiseReduction(value)  Noise-reduction calibration; value goes to the driver.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.calibrateNoiseReduction(1);
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'calibrateNoiseReduction', 'a value');
  requireWhole(obj, value, 'calibrateNoiseReduction', 'the value', 2^32 - 1);
  runChecked(obj, 1, 'CalibrateNoiseReduction', value);
end
