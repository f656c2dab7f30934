% The %!test blocks of the camera class, as "test QuorvelCamera" runs them
% after the package is installed.
[passed, total] = test('QuorvelCamera', 'quiet', stdout);
expect_true(total >= 6 && passed == total, sprintf('test QuorvelCamera: %d of %d blocks pass', passed, total));
