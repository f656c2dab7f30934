% The %!test blocks of the MATLAB files, as "test QuorvelCamera" runs them
% after the package is installed.
for name = {'QuorvelCamera', 'quorvelStatusText'}
  [passed, total] = test(name{1}, 'quiet', stdout);
  expect_true(total > 0 && passed == total, sprintf('test %s: %d of %d blocks pass', name{1}, passed, total));
end
