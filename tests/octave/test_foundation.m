% Loading, "Version", enumeration, open and close, argument errors raised in
% the host, and the driver unloaded once by clear.
QuorvelSim('reset');
QuorvelSim('clearLog');

expect_equal(QuorvelML('Version'), '2.14.00', 'Version answers the version text');
log = QuorvelSim('log');
expect_equal(log(1:2)', {'drvPreLoad(0, 1, 0)', 'drvLoad(0)'}, 'first command preloads and loads the driver');

[failed, count, ids] = QuorvelML('EnumCameras', 0);
expect_equal(failed, uint32(0), 'enumeration succeeds');
expect_equal(count, uint32(4), 'four simulated cameras');
expect_equal(ids, uint32([1001 1002 1003 1004]), 'identifiers in record order');

[status, id] = QuorvelML('OpenCamera', 0);
expect_equal([status id], uint32([0 1001]), 'OpenCamera 0 opens the first camera found');
[status, id] = QuorvelML('OpenCamera', 1003);
expect_equal([status id], uint32([0 1003]), 'OpenCamera opens a named camera');
expect_equal(QuorvelSim('camera', 1003).resets, 1, 'a type-13 camera is reset at open');
[status, id] = QuorvelML('OpenCamera', 4242);
expect_equal([status id], uint32([2 4242]), 'an unknown camera answers 2');
[status, id] = QuorvelML('OpenRawCamera', 'raw:burst.qrv');
expect_equal([status id], uint32([0 0]), 'a raw camera opens under 0');

expect_equal(QuorvelML('CloseCamera', 1001), uint32(0), 'close the first camera');
expect_equal(QuorvelML('CloseCamera', 1003), uint32(0), 'close the named camera');
expect_equal(QuorvelML('CloseCamera', 0), uint32(0), 'close the raw camera');
expect_equal(QuorvelML('CloseCamera', 1001), uint32(6), 'closing a closed camera answers 6');

expect_error(@() QuorvelML(), 'Invalid number of input arguments.', 'no arguments');
expect_error(@() QuorvelML(5), 'First input to the ZEL camera interface must be a string.', 'numeric keyword');
expect_error(@() QuorvelML('version'), 'Unrecognized mode for QuorvelML interface.', 'keywords are case-sensitive');
expect_error(@() QuorvelML(['Version' char(0) 'junk']), 'Unrecognized mode for QuorvelML interface.', ...
             'a keyword holding a zero character is unknown');
expect_error(@() QuorvelML('CloseCamera', [1 2]), 'Input 2 must be a scalar.', 'non-scalar camera id');
expect_error(@() QuorvelML('CloseCamera', true), 'Input 2 must be a scalar.', 'logical camera id');
expect_error(@() QuorvelML('OpenRawCamera', 3), 'Input 2 must be a string.', 'numeric raw camera text');
expect_error(@() QuorvelML('Version', 1), "Invalid number of inputs to Version\n", 'Version takes no argument');
expect_error(@() QuorvelML('SetNetAdapterIPAddress', '10.0.0.1'), ...
             "SetNetAdapterIPAddress needs 1 outputs\n", 'output count checked after the inputs');

QuorvelSim('clearLog');
clear QuorvelML
expect_equal(QuorvelSim('callCount', 'drvUnload'), 1, 'clear QuorvelML unloads the driver once');
expect_equal(QuorvelSim('loaded'), false, 'the driver is unloaded');
expect_equal(QuorvelML('Version'), '2.14.00', 'the module loads again after clear');
expect_equal(QuorvelSim('callCount', 'drvLoad'), 1, 'and loads the driver again');
