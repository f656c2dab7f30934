% One session that runs every command of QuorvelML on the simulated
% cameras, its argument errors and some driver failures, then unloads the
% module. run-memcheck.sh runs it under valgrind.
QuorvelSim('reset');
QuorvelSim('setMemory', 1001, 8, 1000, 1000);
file = [tempname() '.qrv'];

s = QuorvelML('Version');
s = QuorvelML('Abort', 0);
[path, simulated] = QuorvelML('DriverInfo');
s = QuorvelML('PreLoadDriver', 0, 1, 0);
s = QuorvelML('InitPCIeMemory', 256);
s = QuorvelML('SetNetAdapterIPAddress', '192.168.1.10');
s = QuorvelML('SetNetAdapterIPAddress', repmat('9', 1, 300));
[failed, count, ids] = QuorvelML('EnumCameras', 0);
[status, id] = QuorvelML('OpenCamera', 0);
[status, id] = QuorvelML('OpenCamera', 1002);
[status, id] = QuorvelML('OpenCamera', 1004);
[status, id] = QuorvelML('OpenRawCamera', 'raw:memcheck');

[status, value] = QuorvelML('GetCameraInfo', 1001, 12);
[status, value, low, high] = QuorvelML('GetParameter', 1001, 15);
s = QuorvelML('SetParameter', 1001, 15, 0);
s = QuorvelML('SetParameter', 1001, 11, 500);
s = QuorvelML('SendCfg', 1001);
[status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', 1001, 255);
[status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', 1001, 256);

for camera = [1001 1002]
  [status, first, second] = QuorvelML('SynchGrab', camera, 0);
  [status, image, preview] = QuorvelML('MemoryPreview', camera);
end
s = QuorvelML('SetParameter', 1001, 7, 1);
[status, first, second] = QuorvelML('SynchGrab', 1001, 0);

s = QuorvelML('MemoryStartGrab', 1001, 0, 0, 0, 0);
QuorvelSim('waitRecording', 1001, 5000);
[status, ready] = QuorvelML('GrabIsReady', 1001);
[status, count] = QuorvelML('FrameReadyCount', 1001);
[status, serial] = QuorvelML('OpenSerial', 1001);
[status, attached] = QuorvelML('CheckAttached', 1001);
[status, first, second] = QuorvelML('MemoryReadTriggerPosition', 1001);
s = QuorvelML('MemoryStopGrab', 1001);
[status, image] = QuorvelML('MemoryReadData', 1001, 0, 0, 0);
[status, image] = QuorvelML('MemoryReadData', 1001, 3, 0, 1);
[status, frames, n] = QuorvelML('MemoryReadFrames', 1001, 250, 10);  % stops past the memory's end
s = QuorvelML('MemoryStartGrab', 1004, 0, 0, 2, 0);
QuorvelSim('fireRecordEvent', 1004);
s = QuorvelML('MemoryStopGrab', 1004);
[status, image] = QuorvelML('MemoryReadData', 1004, 0, 0, 20000);
[status, frames, n] = QuorvelML('MemoryReadSegments', 1004, 0, 3);
tiff = [tempname() '.tif'];
[status, saved] = QuorvelML('MemorySaveFrames', 1001, tiff, 4, 10, 0, 10);  % stops past the memory's end
[status, saved] = QuorvelML('MemorySaveSegments', 1004, tiff, 0, 3, 1, 0);
[status, saved] = QuorvelML('MemorySaveSegments', 1004, tiff, 1, 2, 2, 0);
try, [status, saved] = QuorvelML('MemorySaveFrames', 1001, tiff, 0, 1, 0, 1); catch, end   % the file exists
try, [status, saved] = QuorvelML('MemorySaveFrames', 1001, tiff, 0, 1, 2, 1); catch, end   % pages of another shape
delete(tiff);

s = QuorvelML('MemoryDownloadRawFrame', 1001, file, 0, 0, 4, 0, 0);
s = QuorvelML('MemoryReadFromDisk', 1001, 0, 0, 0, 1, 0, 0);
QuorvelSim('waitDiskRead', 1001, 5000);
[status, finished, current, final] = QuorvelML('DiskReadProgress', 1001);

s = QuorvelML('CalibrateNoiseReduction', 1001, 2);
s = QuorvelML('Trigger', 1001);
[status, text] = QuorvelML('ReadGPSTiming', 1001, 64);
[status, text] = QuorvelML('ReadGPSTiming', 1001, 4);
s = QuorvelML('Reset', 1001);
s = QuorvelML('EnableDiagnosticTrace', 1001, repmat('t', 1, 300), 1);
s = QuorvelML('EraseMemory', 1001);

% Driver failures at a few steps, and argument errors with a text read.
QuorvelSim('forceAfter', 'drvGetParameter', 3, 1, 1);
[status, first, second] = QuorvelML('SynchGrab', 1001, 0);
QuorvelSim('forceAfter', 'drvGrabFrames', 0, 1, 1);
[status, first, second] = QuorvelML('SynchGrab', 1001, 0);
QuorvelSim('forceAfter', 'drvLoadSettings', 0, 1, 1);
s = QuorvelML('CloseCamera', 1002);
[s, o2] = QuorvelML('OpenCamera', 1002);
for call = {{'EnableDiagnosticTrace', 1001, 'x', [1 2]}, {'MemoryDownloadRawFrame', 1001, 'x', 1, 2, 3, 4, 'y'}, ...
            {'SetNetAdapterIPAddress', 5}, {'Bogus'}}
  try
    QuorvelML(call{1}{:});
  catch
  end
end
try
  status = QuorvelML('EnableDiagnosticTrace', 1001, 'x', 1); [a, b] = QuorvelML('EnableDiagnosticTrace', 1001, 'x', 1);
catch
end

s = QuorvelML('CloseCamera', 1001);
s = QuorvelML('CloseCamera', 0);
if exist(file, 'file'), delete(file); end
clear QuorvelML
disp('memcheck session complete');
