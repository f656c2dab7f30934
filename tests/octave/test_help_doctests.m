% The help examples written as doctest runs them (">> code", then the
% output) give their output, each on fresh simulated cameras.
pkg load doctest
for target = {'QuorvelML', 'QuorvelCamera.wait', 'QuorvelCamera.reportCount', 'QuorvelCamera.driverInfo'}
  QuorvelSim('reset');
  [report, passed] = evalc(sprintf('doctest(''%s'')', target{1}));
  expect_true(passed, ['doctest ' target{1} ' passes' repmat([': ' report], 1, ~passed)]);
end
