% Parameters with limits, the width re-apply rule, camera information, Broc
% records, settings, services and the timing text on the simulated cameras.
QuorvelSim('reset');
defaults = QuorvelSim('defaults');

[status, colour] = QuorvelML('OpenCamera', 1001);
expect_equal(status, uint32(0), 'open the colour camera');

[status, value, low, high] = QuorvelML('GetParameter', colour, 15);
expect_equal([status value low high], uint32([0 defaults.width]), 'width with its two limits');
[status, value, low, high] = QuorvelML('GetParameter', colour, 2);
expect_equal([status value low high], uint32([0 defaults.colourFormat]), 'pixel format with its limits');
[status, value, low, high] = QuorvelML('GetParameter', colour, 999);
expect_equal([status value low high], uint32([7 0 0 0]), 'an unknown parameter answers 7');

QuorvelSim('clearLog');
QuorvelSim('forceAfter', 'drvGetParameterLimit', 1, 5);
[status, value, low, high] = QuorvelML('GetParameter', colour, 11);
expect_equal([status value low high], uint32([7 defaults.exposure(1:2) 0]), ...
             'a failed selector-1 read keeps value and selector-0 limit');
expect_equal(QuorvelSim('callCount', 'drvGetParameterLimit'), 2, 'both limits were asked for');

expect_equal(QuorvelML('SetParameter', colour, 11, 2000), uint32(0), 'write the exposure');
[~, value, ~, ~] = QuorvelML('GetParameter', colour, 11);
expect_equal(value, uint32(2000), 'the written exposure reads back');
expect_equal(QuorvelML('SetParameter', colour, 15, 5000), uint32(4), 'a width above its limit answers 4');
QuorvelSim('force', 'drvSetParameter', 2);
expect_equal(QuorvelML('SetParameter', colour, 11, 3), uint32(8), 'any other driver failure answers 8');

% A type-3 camera re-applies its width less 20.
QuorvelSim('addCamera', 3003, 3, false);
QuorvelSim('setParameter', 3003, 15, 1024, 16, 4096);
[status, trimmed] = QuorvelML('OpenCamera', 3003);
expect_equal(QuorvelML('SetParameter', trimmed, 15, 0), uint32(0), 'width 0 on a type-3 camera');
[~, value, ~, ~] = QuorvelML('GetParameter', trimmed, 15);
expect_equal(value, uint32(1004), 'a type-3 camera gets its width less 20');
expect_equal(QuorvelML('SetParameter', colour, 15, 0), uint32(0), 'width 0 on a type-5 camera');
[~, value, ~, ~] = QuorvelML('GetParameter', colour, 15);
expect_equal(value, uint32(defaults.width(1)), 'a type-5 camera keeps its width');

[status, cameraType] = QuorvelML('GetCameraInfo', colour, 0);
expect_equal([status cameraType], uint32([0 5]), 'camera type of the colour camera');
[status, isColour] = QuorvelML('GetCameraInfo', colour, 12);
expect_equal([status isColour], uint32([0 1]), 'item 12 of the colour camera');
[status, ~] = QuorvelML('GetCameraInfo', colour, 77);
expect_equal(status, uint32(9), 'an unknown item answers 9');
[status, ~] = QuorvelML('GetCameraInfo', 4242, 0);
expect_equal(status, uint32(9), 'an unknown camera answers 9');

before = QuorvelSim('camera', 1001);
expect_equal(QuorvelML('SendCfg', colour), uint32(0), 'send the settings');
after = QuorvelSim('camera', 1001);
expect_equal([after.settingsPrepared after.settingsSent] - [before.settingsPrepared before.settingsSent], [1 1], ...
             'settings prepared and sent once');
QuorvelSim('force', 'drvSendSettings', 1);
expect_equal(QuorvelML('SendCfg', colour), uint32(10), 'a failed send answers 10');

[status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', colour, 255);
expect_equal(status, uint32(0), 'Broc record 255');
expect_equal([w0 w1 w2 w3], uint32(1001 * 65536 + 255 * 4 + (0:3)), 'record 255 holds its simulated words');
QuorvelSim('clearLog');
[status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', colour, 256);
expect_equal([status w0 w1 w2 w3], uint32([7 0 0 0 0]), 'Broc index 256 answers 7');
[status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', colour, -1);
expect_equal([status w0 w1 w2 w3], uint32([7 0 0 0 0]), 'a negative Broc index answers 7');
expect_equal(QuorvelSim('callCount', 'drvGetBrocParameters'), 0, 'no driver call for an index out of range');

% Services.
expect_equal(QuorvelML('Trigger', colour), uint32(0), 'trigger');
expect_equal(QuorvelML('CalibrateNoiseReduction', colour, 2.9), uint32(0), 'calibrate');
expect_equal(QuorvelML('Reset', colour), uint32(0), 'reset');
expect_equal(QuorvelML('EraseMemory', colour), uint32(0), 'erase');
expect_equal(QuorvelML('EnableDiagnosticTrace', colour, repmat('t', 1, 300), 3), uint32(0), 'trace');
marks = QuorvelSim('camera', 1001);
expect_equal([marks.triggers marks.calibrations marks.calibrationValue marks.resets marks.erases], ...
             [1 1 2 1 1], 'each service left its mark');
expect_equal(marks.traceText, repmat('t', 1, 255), 'the trace text is cut at 255 characters');
expect_equal(marks.traceValue, 3, 'the trace value');
QuorvelSim('force', 'drvTrigger', 1);
expect_equal(QuorvelML('Trigger', colour), uint32(19), 'a failed trigger answers 19');
expect_equal(QuorvelML('Reset', 4242), uint32(21), 'reset of an unknown camera answers 21');
expect_error(@() QuorvelML('EraseMemory', colour, 1), "Invalid number of inputs to MemoryErase\n", ...
             'EraseMemory takes one argument');
expect_error(@() QuorvelML('EnableDiagnosticTrace', colour, 5, 1), 'Input 3 must be a string.', ...
             'the trace text must be text');

% Timing.
QuorvelSim('setTiming', 1001, 'fixed', 2024, 46, 13, 5, 9, 123456);
[status, column] = QuorvelML('ReadGPSTiming', colour, 40);
expect_equal(status, uint32(0), 'timing read');
expect_equal(size(column), [40 1], 'the column is length by 1');
expect_equal(class(column), 'uint8', 'the column is uint8');
expect_equal(char(column(1:29)'), '(2024/02/15) 13:05:09:123:456', 'the timing text');
expect_equal(column(30:40), zeros(11, 1, 'uint8'), 'zero bytes after the text');
[status, column] = QuorvelML('ReadGPSTiming', colour, 10);
expect_equal(char(column'), '(2024/02/1', 'a short column gets what fits');
[status, column] = QuorvelML('ReadGPSTiming', colour, 0);
expect_equal([double(status) size(column)], [0 0 1], 'a column of length 0 stays empty');
message = '';
try, [status, column] = QuorvelML('ReadGPSTiming', colour, -1); catch err, message = err.message; end
expect_equal(message, 'QuorvelML: Input 3 must be a length from 0 to 65536.', 'a negative length is refused');

% File names the driver would get cut short, the bounded log, the new faults.
QuorvelSim('clearLog');
QuorvelSim('setLogLimit', 2);
expect_equal(QuorvelML('MemoryDownloadRawFrame', colour, repmat('x', 1, 300), 0, 0, 1, 0, 0), uint32(25), ...
             'a file name that cannot be passed whole answers 25');
for k = 1:5
  status = QuorvelML('Trigger', colour);
end
expect_equal([numel(QuorvelSim('log')) QuorvelSim('droppedCalls') QuorvelSim('callCount', 'drvTrigger')], ...
             [2 3 5], 'the log keeps the newest calls and counts them all; the file name reached no driver');
QuorvelSim('setLogLimit', 4096);
expect_error(@() QuorvelSim('force', 'drvTriggr', 1), ...
             "force: operation (argument 2) names no driver operation: 'drvTriggr'.", ...
             'forcing an unknown operation is refused');
expect_error(@() QuorvelSim('setMemory', 1001, 'x', 1), 'setMemory: capacity (argument 3) must be a number.', ...
             'a control argument error names the argument');
expect_error(@() QuorvelSim('setMemory', 1001, NaN, 1), ...
             'setMemory: capacity (argument 3) must be a finite number below 2^63.', ...
             'a number no integer can hold is refused, not converted');
QuorvelSim('forceWhere', 'drvGetParameter', 2, 16, 1);
[status, value, ~, ~] = QuorvelML('GetParameter', colour, 15);
expect_equal([status value], uint32([0 defaults.width(1)]), 'a failure chosen for parameter 16 leaves 15 alone');
[status, value, ~, ~] = QuorvelML('GetParameter', colour, 16);
expect_equal([status value], uint32([7 0]), 'and fails the read of 16');

QuorvelSim('setTiming', 1001, 'fixed', 2023, 366, 0, 0, 0, 1000000);
[~, column] = QuorvelML('ReadGPSTiming', colour, 40);
expect_equal(char(column(1:30)'), '(2023/13/01) 00:00:00:1000:000', 'day 366 of a common year and a full second');

QuorvelSim('setTiming', 1001, 'gps');
[status, column] = QuorvelML('ReadGPSTiming', colour, 40);
text = char(column(column > 0)');
expect_equal(status, uint32(0), 'GPS time from the system clock');
expect_true(~isempty(regexp(text, '^\(\d{4}/\d\d/\d\d\) \d\d:\d\d:\d\d:\d{3}:\d{3}$', 'once')), ...
            'the clock time has the timing text format');

[status, mono] = QuorvelML('OpenCamera', 1002);
[status, column] = QuorvelML('ReadGPSTiming', mono, 30);
expect_equal(status, uint32(0), 'a camera without time source answers 0');
expect_equal(char(column(1:22)'), '(NO IRIG/GPS/PTP DATA)', 'the no-data text');
QuorvelSim('force', 'drvReadTiming', 1);
[status, column] = QuorvelML('ReadGPSTiming', mono, 30);
expect_equal(status, uint32(20), 'a failed timing read answers 20');
expect_equal(column, zeros(30, 1, 'uint8'), 'and the column stays zero');

for id = [colour trimmed mono]
  expect_equal(QuorvelML('CloseCamera', id), uint32(0), sprintf('close camera %d', id));
end
