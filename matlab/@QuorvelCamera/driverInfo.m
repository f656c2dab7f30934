function info = driverInfo()
  % info = QuorvelCamera.driverInfo()  Which driver library answers.
  %   Path: the file of the driver library as the dynamic loader
  %   resolved it ('' where it cannot tell); Simulated: true for the
  %   simulated driver, which alone exports its marker symbol.
  %   Example:
  %     >> info = QuorvelCamera.driverInfo();
  %     >> info.Simulated
  %     ans = 1
  [path, simulated] = QuorvelML('DriverInfo');
  info = struct('Path', path, 'Simulated', simulated ~= 0);
end
