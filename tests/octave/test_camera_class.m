% QuorvelCamera on the simulated cameras: opening and closing, status
% numbers turned into errors, parameters with limits, images, recording and
% readout, transfers, timing and services.
1;


function assign(object, property, value)
  object.(property) = value;
end

function lines = logged(operation)
  % The logged calls of one driver operation.
  log = QuorvelSim('log');
  lines = log(strncmp(log, [operation '('], numel(operation) + 1));
end

QuorvelSim('reset');

% --- discovery and the driver-wide calls -----------------------------------
expect_equal(QuorvelCamera.list(), [1001 1002 1003 1004], 'list gives the simulated cameras in order');
QuorvelSim('force', 'drvEnumCameras', 1);
expect_raises(@() QuorvelCamera.list(), 'QuorvelML:enumerationFailed', ...
              'EnumCameras failed: the driver could not list the cameras.', 'a failed enumeration is an error');
QuorvelSim('force', 'drvConfigure', 1);
expect_raises(@() QuorvelCamera.setAdapterAddress('10.1.2.3'), 'QuorvelML:adapterRefused', ...
              'SetNetAdapterIPAddress: the driver refused the adapter address 10.1.2.3 (it is kept all the same).', ...
              'a refused adapter address is an error');
QuorvelSim('force', 'drvPreLoad', 9);
expect_raises(@() QuorvelCamera.preloadDriver(1, 2, 3), 'QuorvelML:valueRejected', ...
              'PreLoadDriver answered 4: the driver rejected the value, or driver preloading failed.', ...
              'a refused preload is an error without a camera in its message');
expect_equal(QuorvelCamera.version(), '2.14.00', 'version');

% Every status number has an error name, and no two share one.
codes = quorvelStatusText();
names = cellfun(@(code) QuorvelCamera.statusName(code), codes(:, 1), 'UniformOutput', false);
expect_true(~any(strncmp(names, 'status', 6)) && numel(unique(names)) == numel(names), ...
            'every status number has its own error name');
expect_equal(QuorvelCamera.statusName(12), 'grabFailed', 'status 12 is grabFailed');
expect_equal(QuorvelCamera.statusName(), [codes(:, 1) names], 'statusName() lists every number with its name');
expect_equal(quorvelStatusText(16), 'unknown status 16', 'a number the module does not answer is unknown');

% --- opening and closing -------------------------------------------------
cam = QuorvelCamera();
expect_equal([cam.Id double(cam.IsOpen)], [1001 1], 'no argument opens the first camera found');
clear cam
expect_equal(QuorvelSim('camera', 1001).open, 0, 'clearing the object closes the camera');

% One handle per camera, the first camera found included.
a = QuorvelCamera(1001);
expect_raises(@() QuorvelCamera(1001), 'QuorvelML:alreadyOpen', ['Camera 1001 is already open in this session: ' ...
              'use its QuorvelCamera, or close that first.'], 'a second handle for a camera a handle holds');
expect_raises(@() QuorvelCamera(), 'QuorvelML:alreadyOpen', '', 'a second handle for the first camera found');
clear a

expect_raises(@() QuorvelCamera(4242), 'QuorvelML:openFailed', ...
              'Camera 4242: OpenCamera answered 2: no camera could be found or opened.', 'an unknown camera');

QuorvelSim('clearLog');
QuorvelSim('force', 'drvLoadSettingsEx', 1);
expect_raises(@() QuorvelCamera(1003), 'QuorvelML:settingsLoadFailed', '', 'a failed settings load at open');
expect_equal(numel(logged('drvCloseCamera')), 1, 'the half-opened camera is closed again');
expect_equal(QuorvelSim('camera', 1003).open, 0, 'and the driver holds it closed');

raw = QuorvelCamera('raw:burst.qrv');
expect_equal({raw.Id, raw.Source}, {0, 'raw:burst.qrv'}, 'a raw camera opens under 0 and keeps its text');
delete(raw);
QuorvelSim('force', 'drvSendSettings', 1);
expect_raises(@() QuorvelCamera('raw:again.qrv'), 'QuorvelML:settingsSendFailed', '', 'a raw camera whose settings fail');
raw = QuorvelCamera('raw:third.qrv');
expect_equal(raw.Id, 0, 'the failed raw camera was released, so another raw camera opens');
clear raw
QuorvelSim('force', 'drvOpenRawCamera', 1);
expect_raises(@() QuorvelCamera('raw:x'), 'QuorvelML:rawOpenFailed', ...
              'Camera 0: OpenRawCamera answered 24: opening the raw camera failed.', 'a raw open the driver refuses');

cam = QuorvelCamera(1002);
QuorvelSim('force', 'drvCloseCamera', 1);
expect_raises(@() cam.close(), 'QuorvelML:closeFailed', '', 'close reports a failed close');
expect_true(cam.IsOpen, 'the camera stays open after a failed close');
cam.close();
expect_equal([double(cam.IsOpen) QuorvelSim('camera', 1002).open], [0 0], 'a second close succeeds');
expect_raises(@() cam.trigger(), 'QuorvelML:closed', 'Camera 1002 is closed.', 'a closed camera refuses commands');
clear cam

% --- parameters and information ------------------------------------------
cam = QuorvelCamera(1002);
defaults = QuorvelSim('defaults');
width = defaults.width;
height = defaults.height(1);
[value, limits] = cam.getParameter(15);
expect_equal({value, limits}, {width(1), width(2:3)}, 'getParameter gives the value and both limits');
list = cam.parameters();
listed = list([list.Number] == 15);
expect_equal({listed.Property, listed.Value, listed.Limits}, {'Width', width(1), width(2:3)}, ...
             'parameters lists the width with its property, value and limits');
expect_true(numel(list) > 4 && all(arrayfun(@(p) p.Value == cam.getParameter(p.Number), list)), ...
            'parameters lists the numbered parameters the camera answers, as getParameter reads them');
QuorvelSim('clearLog');
expect_raises(@() assign(cam, 'Width', 5000), 'QuorvelML:outOfLimits', ...
              sprintf('Camera 1002: parameter 15 takes values from %d to %d; 5000 is outside.', width(2:3)), ...
              'a width above its limit');
expect_equal(numel(logged('drvSetParameter')), 0, 'a value outside the limits never reaches the driver');
cam.Width = 320;
expect_raises(@() assign(cam, 'Height', 0), 'QuorvelML:outOfLimits', sprintf(['Camera 1002: parameter 16 takes ', ...
              'values from 1 to %d; 0 is outside (setParameter(16, 0) re-applies the current value).'], defaults.height(3)), ...
              'the Height property refuses 0, naming the command that re-applies');
cam.setParameter(16, 0);  % re-applies the current height
expect_equal([cam.Width cam.Height], [320 height], 'width written, height re-applied');
writes = logged('drvSetParameter');
expect_true(numel(writes) == 2 && ~isempty(strfind(writes{2}, sprintf(', 16, %d)', height))), ...
            'a height of 0 writes the current height');
% Out of range, the camera's limits are named, however far outside.
expect_raises(@() assign(cam, 'Width', -1), 'QuorvelML:outOfLimits', ...
              sprintf('Camera 1002: parameter 15 takes values from %d to %d; -1 is outside.', width(2:3)), 'a negative width');
expect_raises(@() cam.setParameter(2, 2^32 - 1), 'QuorvelML:outOfLimits', ...
              'Camera 1002: parameter 2 takes values from 0 to 8; 4294967295 is outside.', 'a large value in full');
expect_raises(@() cam.setParameter(7, true), 'QuorvelML:notWholeNumber', ...
              'Camera 1002: parameter 7 takes a whole number; the logical true is not one.', 'a logical named as one');
expect_raises(@() cam.setParameter(99, 1), 'QuorvelML:parameterReadFailed', ['Camera 1002: GetParameter answered 7: ', ...
              'the camera has no parameter 99, or the driver could not read it; cam.parameters() lists those it has.'], ...
              'a parameter the camera lacks');
expect_raises(@() assign(cam, 'ProgressThreshold', {1}), 'QuorvelML:notWholeNumber', ...
              'Camera 1002: ProgressThreshold takes a whole number; a 1-by-1 cell is not one.', ...
              'ProgressThreshold refuses a cell when set');

% Settings by name, from the table beside the MEX files.
cam.set('Exposure', 500);
expect_equal(cam.getParameter(11), 500, 'set writes the exposure by its name');
[value, limits, unit] = cam.get('exposure');
expect_equal({value, limits, unit}, {500, defaults.exposure(2:3), 'us'}, 'get reads a setting, its limits and unit, in any case');
cam.setParameter('Width', 400);
expect_equal(cam.getParameter('width'), 400, 'setParameter and getParameter take a name too');
expect_raises(@() cam.set('Gain', 1), 'QuorvelML:unknownSetting', ['Camera 1002: set: camera type 2 has no setting ', ...
              'named ''Gain''; its settings are PixelFormat, ExtraFrames, Exposure, Width, Height, OpenSetting.'], ...
              'an unknown name is refused with the names the table has');
expect_raises(@() cam.set('Exposure', 0), 'QuorvelML:outOfLimits', '', 'set checks the limits');
listed = cam.parameters();
listed = listed([listed.Number] == 11);
expect_equal({listed.Name, listed.Unit, listed.Value}, {'Exposure', 'us', 500}, 'parameters names each with its unit');
printed = evalc('cam.parameters()');
expect_true(~isempty(regexp(printed, 'Exposure +11 +500 +1 +1000000 +us', 'once')), 'the printed table has name, number, value, limits, unit');
QuorvelSim('forceWhere', 'drvGetParameter', 2, 11, 1, 1);   % the read of parameter 11 fails once
expect_raises(@() cam.parameters(), 'QuorvelML:parameterReadFailed', ['Camera 1002: GetParameter answered 7 for ', ...
              'parameter 11 (Exposure): a parameter read failed (or a Broc index above 255, or the raw camera ', ...
              'settings load).'], 'a named parameter that does not read back raises instead of a shorter table');
expect_raises(@() cam.parameters([15 40]), 'QuorvelML:parameterReadFailed', '', 'so does a number asked for');
expect_equal(QuorvelCamera.settingNames(), {'PixelFormat', 'ExtraFrames', 'Exposure', 'Width', 'Height', 'OpenSetting'}, ...
             'settingNames lists the table''s names for completion');

% Before any recording, the readout and the trigger position say what to do.
cam.eraseMemory();
try
  cam.readFrame(0);
  printf('not ok - readFrame before a recording: no error\n');
catch err
  expect_true(strcmp(err.identifier, 'QuorvelML:readFailed') && ~isempty(strfind(err.message, ...
              'record first (startRecording), wait for the recording (wait), then read')), ...
              'readFrame before a recording says to record and wait first');
end
try
  cam.triggerPosition();
  printf('not ok - triggerPosition before a recording: no error\n');
catch err
  expect_true(strcmp(err.identifier, 'QuorvelML:triggerPositionFailed') && ~isempty(strfind(err.message, ...
              'the trigger frame is not recorded yet, or nothing was recorded: wait for the recording')), ...
              'triggerPosition before the trigger frame says to wait');
end

QuorvelSim('force', 'drvSetParameter', 3);
expect_raises(@() cam.setParameter(11, 500), 'QuorvelML:valueRejected', ...
              'Camera 1002: SetParameter answered 4: the driver rejected the value, or driver preloading failed.', ...
              'a value the driver rejects');
expect_equal({cam.Type, cam.IsColour, cam.info(7)}, {2, false, 1}, 'type, colour and an information item');
QuorvelSim('force', 'drvGetCameraInfo', 1);
expect_raises(@() cam.info(0), 'QuorvelML:infoReadFailed', '', 'a failed information read');
expect_equal(class(cam.brocParameters(255)), 'uint32', 'Broc records are uint32 words');
expect_equal(size(cam.brocParameters(0)), [1 4], 'a Broc record has four words');
expect_raises(@() cam.brocParameters(256), 'QuorvelML:parameterReadFailed', '', 'Broc index 256');
sent = QuorvelSim('camera', 1002).settingsSent;
cam.sendSettings();
expect_equal(QuorvelSim('camera', 1002).settingsSent, sent + 1, 'sendSettings sends the settings');

% --- live images ---------------------------------------------------------
cam.Width = 64;
cam.Height = 48;
cam.ExtraFrames = 1;
[first, second] = cam.grab();
expect_equal([size(first) size(second)], [48 64 48 64], 'grab gives two H-by-W images');
expect_equal(class(first), 'uint8', '8-bit mono is uint8');
expect_equal(mod(double(second(1, 1)) - double(first(1, 1)), 256), 8, 'the second image is the next frame');
expect_equal(double(first(2, 1)) - double(first(1, 1)), 3, 'rows are lines (3 apart in the pattern)');
expect_raises(@() assign(cam, 'PixelFormat', 1), 'QuorvelML:formatNotSupported', ...
              'Camera 1002: pixel format 1 refused: the mono camera of type 2 supports 8-bit mono only.', ...
              'a 16-bit format on the type-2 mono camera is refused when it is set, as a grab would');
QuorvelSim('setInfo', 1002, 0, 5);  % a mono camera of another type delivers 16-bit mono, not colour
cam.PixelFormat = 1;
expect_raises(@() assign(cam, 'PixelFormat', 2), 'QuorvelML:formatNotMono', '', 'a colour format on a mono camera');
expect_raises(@() assign(cam, 'Width', 320.7), 'QuorvelML:notWholeNumber', ...
              'Camera 1002: parameter 15 takes a whole number; 320.7 is not one.', 'a fractional width is refused');
expect_equal([cam.PixelFormat cam.Width], [1 64], 'refused settings leave the camera as it was');
cam.PixelFormat = 0;
QuorvelSim('setInfo', 1002, 0, 2);
[image, value] = cam.preview();
expect_equal(size(image), [48 64], 'a preview image');
expect_equal(class(value), 'uint32', 'the preview value is the driver''s word');
QuorvelSim('force', 'drvGrabFrames', 1);
expect_raises(@() cam.grab(), 'QuorvelML:grabFailed', '', 'a failed grab');
clear cam

% --- timing and services -------------------------------------------------
cam = QuorvelCamera(1001);
QuorvelSim('setTiming', 1001, 'fixed', 2024, 46, 13, 5, 9, 123456);
expect_equal(cam.timing(), '(2024/02/15) 13:05:09:123:456', 'timing text from a fixed record');
QuorvelSim('setTiming', 1001, 'none');
expect_equal(cam.timing(), '(NO IRIG/GPS/PTP DATA)', 'timing text without a time source');
QuorvelSim('force', 'drvReadTiming', 1);
expect_raises(@() cam.timing(), 'QuorvelML:timingReadFailed', '', 'a failed timing read');

cam.trigger();
cam.reset();
cam.eraseMemory();
cam.calibrateNoiseReduction(3);
cam.enableTrace('trace.log', 2);
state = QuorvelSim('camera', 1001);
expect_equal([state.triggers state.calibrationValue state.traceValue], [1 3 2], 'services reach the camera');
expect_equal(state.traceText, 'trace.log', 'the trace text reaches the driver');
failures = {'drvTrigger', @() cam.trigger(), 'QuorvelML:triggerFailed'
            'drvReset', @() cam.reset(), 'QuorvelML:resetFailed'
            'drvEraseMemory', @() cam.eraseMemory(), 'QuorvelML:eraseFailed'
            'drvCalibrateNoiseReduction', @() cam.calibrateNoiseReduction(1), 'QuorvelML:calibrationFailed'
            'drvEnableTrace', @() cam.enableTrace('x', 1), 'QuorvelML:traceFailed'};
for k = 1:rows(failures)
  QuorvelSim('force', failures{k, 1}, 1);
  expect_raises(failures{k, 2}, failures{k, 3}, '', ['a failed ' failures{k, 1}]);
end

% --- recording and readout -----------------------------------------------
cam.Width = 32;
cam.Height = 24;
cam.PixelFormat = 7;
cam.startRecording(8, 3, 0, 8);
cam.waitUntilReady(10);
expect_true(cam.isReady(), 'the burst is reported');
cam.stopRecording();
expect_true(~cam.isReady(), 'a stop clears the report');
[p1, p2] = cam.triggerPosition();
expect_equal([p1 p2], [3 8], 'the trigger position (frame 3 of the start above), then the 8 frames recorded');
cam.ProgressThreshold = 4;
output = evalc('frames = cam.readFrames(0:7);');
expect_equal(size(frames), [24 32 3 8], 'colour frames stack along dimension 4');
expect_equal(class(frames), 'uint16', 'format 7 reads back as uint16');
expect_equal(diff(double(squeeze(frames(1, 1, 3, :))))', repmat(256, 1, 7), ...
             'frames read back in recording order (channel 0 in plane 3)');
expect_true(isempty(output), 'a readout above the threshold that takes less than a second is quiet');
output = evalc('one = cam.readFrames(0:2);');
expect_true(isempty(output), 'a short readout is quiet');
expect_equal(one, frames(:, :, :, 1:3), 'readFrames of a range equals the same frames of a longer one');
QuorvelSim('clearLog');
QuorvelSim('force', 'drvReadMemory', 1);
expect_raises(@() cam.readFrame(2^32 + 5, 2), 'QuorvelML:readFailed', '', 'a failed readout');
reads = logged('drvReadMemory');
expect_true(numel(reads) == 1 && ~isempty(strfind(reads{1}, ', 4294967301, 2, ')), ...
            'a position above 32 bits reaches the driver whole');
QuorvelSim('clearLog');
QuorvelSim('force', 'drvReadMemory', 1);
expect_raises(@() cam.readFrames(uint64(2^53) + [1 2]), 'QuorvelML:readFailed', '', 'a failed readout of many');
reads = logged('drvReadMemory');
expect_true(numel(reads) == 1 && ~isempty(strfind(reads{1}, ', 9007199254740993, ')), ...
            'a uint64 position beyond 2^53 reaches the driver exactly');
expect_raises(@() cam.readFrame(-1), 'QuorvelML:badPosition', '', 'a negative position');
QuorvelSim('force', 'drvStopRecording', 1);
expect_raises(@() cam.stopRecording(), 'QuorvelML:stopFailed', '', 'a failed stop');
QuorvelSim('force', 'drvStartRecording', 1);
expect_raises(@() cam.startRecording(), 'QuorvelML:grabFailed', '', 'a refused start');

% --- transfers -----------------------------------------------------------
file = [tempname() '.qrv'];
cam.downloadRawFrame(file, 0, 0, 4, 0, 0);
expect_true(exist(file, 'file') == 2, 'a raw download writes the simulator''s file');
QuorvelSim('clearLog');
cam.readFromDisk(0, 4, 0, 1, 5, 6);
reads = logged('drvReadFromDisk');
expect_true(numel(reads) == 1 && ~isempty(strfind(reads{1}, ', 0, 4, 0, 1, 5, 6, ')), ...
            'a disk read passes its six values in order');
cam.waitForDisk(10);
[finished, current, final] = cam.diskProgress();
expect_equal({finished, current, final}, {true, 4, 4}, 'the disk read of the 4 downloaded frames ends');
QuorvelSim('force', 'drvDownloadRawFrame', 1);
expect_raises(@() cam.downloadRawFrame(file, 0, 0, 1, 0, 0), 'QuorvelML:downloadFailed', '', 'a failed download');
QuorvelSim('force', 'drvReadFromDisk', 1);
expect_raises(@() cam.readFromDisk(0, 1, 0, 1, 0, 0), 'QuorvelML:readFailed', '', 'a failed disk read');
clear cam
delete(file);

% --- segments ------------------------------------------------------------
seg = QuorvelCamera(1004);
seg.Width = 16;
seg.Height = 8;
seg.startRecording(12, 0, 3, 12);
seg.waitUntilReady(10);
seg.stopRecording();
segments = seg.readSegments(0:3);
expect_equal(size(segments), [8 16 4], 'mono segments stack along dimension 3');
expect_equal(diff(double(squeeze(segments(1, 1, :))))', [24 24 24], ...
             'each segment starts 3 frames after the one before');
clear seg

% --- arguments: whole numbers in range, refused with the argument named ----
clear failures  % its function handles hold the camera of the services above
QuorvelSim('reset');
cam = QuorvelCamera(1001);
for given = {1001 + 2^32, 1001.5, NaN, 1001 - 2^32}
  expect_raises(@() QuorvelCamera(given{1}), 'QuorvelML:badCameraId', '', ...
                sprintf('camera id %g is refused while 1001 is held', given{1}));
end
expect_raises(@() assign(cam, 'Width', '320'), 'QuorvelML:notWholeNumber', ...
              'Camera 1001: parameter 15 takes a whole number; ''320'' is not one.', 'a width given as text');
expect_raises(@() cam.setParameter(11), 'QuorvelML:missingArgument', ...
              'Camera 1001: setParameter takes a parameter number and a value; 1 of 2 arguments were given.', ...
              'setParameter without its value');
expect_raises(@() cam.getParameter({15}), 'QuorvelML:notWholeNumber', ...
              'Camera 1001: the parameter number of getParameter takes a whole number; a 1-by-1 cell is not one.', ...
              'getParameter of a cell');
expect_raises(@() cam.getParameter(['ab'; 'cd']), 'QuorvelML:notText', ['Camera 1001: the parameter''s name of ', ...
              'getParameter takes a text; a 2-by-2 char is not one.'], 'getParameter refuses a name of two rows');
expect_raises(@() cam.setParameter(['ab'; 'cd'], 1), 'QuorvelML:notText', '', 'as does setParameter');
for bad = {0.5, NaN, Inf, -1, 'ab', 1+2i}
  expect_raises(@() cam.readSegments(bad{1}), 'QuorvelML:badSegment', '', ['readSegments refuses ' strtrim(disp(bad{1}))]);
  expect_raises(@() cam.readFrames(bad{1}), 'QuorvelML:badPosition', '', ['readFrames refuses ' strtrim(disp(bad{1}))]);
end
expect_raises(@() cam.readSegments(uint64(2^32) + [0 1]), 'QuorvelML:badSegment', ...
              'Camera 1001: a segment number of readSegments takes a whole number from 0 to 4294967295; 4294967296 is outside.', ...
              'readSegments names a segment number beyond 32 bits');
expect_raises(@() cam.readFrames(uint64(2^32) + [0 1]), 'QuorvelML:readFailed', '', ...
              'positions past 2^32 are read where they point, not wrapped onto frame 0');
none = cam.readFrames([]);
expect_equal({class(none), size(none)}, {'uint8', [480 640 3 0]}, 'readFrames([]) is an empty stack of the image class');
clear cam

% A handle whose camera was closed and opened again by raw commands stays closed.
a = QuorvelCamera(1002);
expect_equal(QuorvelML('CloseCamera', 1002), uint32(0), 'a raw close');
[status, ~] = QuorvelML('OpenCamera', 1002);
expect_true(~a.IsOpen, 'the handle stays closed after a raw reopen');
expect_raises(@() a.trigger(), 'QuorvelML:closed', 'Camera 1002 is closed.', 'and refuses commands');
clear a
expect_equal(QuorvelSim('camera', 1002).open, 1, 'clearing it leaves the raw user''s camera open');
expect_equal(QuorvelML('CloseCamera', 1002), uint32(0), 'which the raw user closes');

a = QuorvelCamera(1001);
b = QuorvelCamera(1002);
QuorvelCamera.closeAll();
expect_equal([double([a.IsOpen b.IsOpen]) QuorvelSim('camera', 1001).open QuorvelSim('camera', 1002).open], ...
             zeros(1, 4), 'closeAll closes the camera of every handle');
expect_raises(@() b.isReady(), 'QuorvelML:closed', 'Camera 1002 is closed.', 'a handle closed by closeAll refuses commands');
clear a b

% --- waiting for a recording's end, and messages that say what to do ----
QuorvelSim('setMemory', 1002, 256, 2000);
cam = QuorvelCamera(1002);
cam.Width = 16;
cam.Height = 4;
cam.startRecording(100, 40, 0, 10);
cam.wait(5);
expect_equal(cam.reportCount(), 10, 'wait returns at the last of the recording''s 10 reports');
expect_equal(size(cam.readFrames(0:99, false), 3), 100, 'so every frame is recorded when it returns');
QuorvelSim('setMemory', 1002, 256, 0);   % records only on fireRecordEvent: it never ends by itself
cam.startRecording(0, 0, 0, 1);
expect_raises(@() cam.wait(1), 'QuorvelML:unknownEnd', '', 'a recording of no frame count has no known end');
expect_raises(@() cam.startRecording(8, 0, 0, 8), 'QuorvelML:grabFailed', ...
              ['Camera 1002: MemoryStartGrab answered 12: a recording this handle started is still running; ' ...
               'stop it first with stopRecording, or wait for its end with wait.'], 'a second start says to stop the first');
cam.stopRecording();
cam.startRecording(4, 0, 0, 1);
QuorvelSim('fireRecordEvent', 1002);
expect_raises(@() cam.startRecording(4, 0, 0, 1), 'QuorvelML:grabFailed', ...
              ['Camera 1002: the recording this handle started has made 1 of its 4 reports; stop it first ' ...
               'with stopRecording, or wait for its end with wait.'], 'a start while one runs is refused');
for k = 1:3
  QuorvelSim('fireRecordEvent', 1002);
end
expect_equal(cam.reportCount(), 4, 'the refused start leaves the running recording''s count as it was');
cam.wait(1);
cam.stopRecording();
QuorvelSim('setMemory', 1002, 256, 2000, 4000);
cam.startRecording(8, 5, 0, 8);
cam.wait(5);
cam.stopRecording();
expect_raises(@() cam.readFrames(4:11, false), 'QuorvelML:readFailed', ...
              ['Camera 1002: MemoryReadFrames answered 13 at position 8: reading recorded frames from camera ' ...
               'memory or disk failed; 4 of the 8 frames asked for were read. The recording holds 8 frames ' ...
               '(positions 0 to 7).'], 'a failed readout names its position and the frames recorded');
[frames, info] = cam.readFrames(4:11, false);
expect_equal({size(frames), info.Position, info.TriggerIndex, info.Status}, {[4 16 4], 4:7, -1:2, 13}, ...
             'a readout that ends early with info keeps its frames and says where and why');
expect_true(all(isnan(info.Segment)), 'a readout by position has no segments');
cam.startRecording(200, 0, 0, 200);
cam.wait(5);
file = [tempname() '.qrv'];
cam.downloadRawFrame(file, 0, 0, 200, 0, 0);
QuorvelSim('setMemory', 1002, 256, 500, 80);   % a disk read of 200 frames takes 2.5 s
cam.readFromDisk(0, 0, 0, 1, 0, 0);
output = strsplit(strtrim(evalc('cam.waitForDisk(10, true);')), "\n");
expect_true(numel(output) >= 2 && numel(output) <= 3 && ~isempty(regexp(output{1}, ...
            '^Camera 1002: disk read \d+ of 200 frames, \d+ frames/s, \d+ s left$', 'once')), ...
            sprintf('a long disk read shows its rate and the time left, a line each 2 s off a terminal (%s)', ...
                    strjoin(output, ' | ')));
expect_true(~isempty(regexp(output{end}, '^Camera 1002: disk read 200 of 200 frames, \d+ frames/s, 2\.\d s$', 'once')), ...
            'and its end with its rate and time');
% Before the first frame is read the time left is not guessed.
QuorvelSim('setMemory', 1002, 256, 500, 1);
cam.readFromDisk(0, 3, 0, 3, 0, 0);   % its first report comes after the third frame, in 3 s
QuorvelSim('fireDiskProgress', 1002, 0, 3);
output = evalc('try, cam.waitForDisk(1.5, true); catch, end');
expect_equal(strtrim(output), 'Camera 1002: disk read 0 of 3 frames, 0 frames/s', ...
             'a disk read with no frame read yet shows no time left');
QuorvelSim('waitDiskRead', 1002);
QuorvelSim('setMemory', 1002, 256, 500, 1000);
delete(file);
% On a terminal the same progress is one line, rewritten in place.
session = [tempname() '.m'];
handle = fopen(session, 'w');
fprintf(handle, ['addpath(''%s''); QuorvelSim(''setMemory'', 1002, 256, 500, 80); cam = QuorvelCamera(1002); ', ...
                 'cam.startRecording(200, 0, 0, 200); cam.wait(5); file = [tempname() ''.qrv'']; ', ...
                 'cam.downloadRawFrame(file, 0, 0, 200, 0, 0); cam.readFromDisk(0, 0, 0, 1, 0, 0); ', ...
                 'cam.waitForDisk(10, true); ', ...
                 'cam.readFromDisk(0, 0, 0, 1, 0, 0); try, cam.waitForDisk(1.5, true); catch e, disp(e.message); end; ', ...
                 'cam.waitForDisk(10); delete(file); QuorvelSim(''setMemory'', 1002, 40000, 1000000); ', ...
                 'cam.Width = 64; cam.Height = 16; cam.startRecording(30000, 0, 0, 30000); cam.wait(20); ', ...
                 'try, cam.readFrames(0:39999); catch e, disp(e.message); end\n'], fileparts(which('QuorvelML')));
fclose(handle);
[~, shown] = system(sprintf('script -qec "octave-cli --no-gui --norc %s" /dev/null', session));
delete(session);
progressLines = regexp(shown, '[^\n]*disk read[^\n]*', 'match');
expect_true(numel(progressLines) >= 1 && numel(strfind(progressLines{1}, sprintf('\r'))) >= 2 && ...
            ~isempty(strfind(progressLines{1}, 's left')) && ~isempty(strfind(progressLines{1}, '200 of 200')), ...
            'on a terminal the progress is one line rewritten in place');
% Work that stops midway ends its line: the message after it starts a line of its own.
for message = {'the disk read did not finish', 'MemoryReadFrames answered 13 at position 30000'}
  line = regexp(shown, ['[^\n]*' message{1} '[^\n]*'], 'match', 'once');
  expect_true(~isempty(regexp(line, ['^\r?Camera 1002: ' message{1}], 'once')), ...
              sprintf('a progress line ends before the message of work stopped midway: %s', strrep(line, sprintf('\r'), '\r')));
end
clear cam

% --- which driver answers -------------------------------------------------
d = QuorvelCamera.driverInfo();
expect_equal(d.Simulated, true, 'driverInfo: the simulator answers');
expect_equal(canonicalize_file_name(d.Path), canonicalize_file_name(fullfile(fileparts(which('QuorvelML')), ...
             'libQuorvelDrv.so')), 'driverInfo: the library beside the MEX file, as the loader found it');
