% Unloading the module while cameras are open, while a recording calls back
% and while a disk read reports progress: "clear QuorvelML" and "clear all"
% run the exit hook, which unloads the driver once; nothing crashes, the
% driver calls back no more, and the module starts afresh on its next call.
QuorvelSim('reset');
QuorvelSim('lock');  % the simulator and its log stay loaded through clear all

[status, id] = QuorvelML('OpenCamera', 1001);
expect_equal([status id], uint32([0 1001]), 'open the colour camera');
[status, id] = QuorvelML('OpenCamera', 1003);
expect_equal([status id], uint32([0 1003]), 'open the memory camera');
QuorvelSim('clearLog');
clear QuorvelML
expect_unloaded('clear QuorvelML with two cameras open');

[s, o2] = QuorvelML('OpenCamera', 1001);
[s, o2] = QuorvelML('OpenRawCamera', 'raw:lifetime');
QuorvelSim('clearLog');
clear all
expect_unloaded('clear all with a live and a raw camera open');

% A recording whose callbacks arrive on the simulator's thread while the
% module goes away.
QuorvelSim('setMemory', 1001, 400, 200, 50);
[s, o2] = QuorvelML('OpenCamera', 1001);
expect_equal(QuorvelML('MemoryStartGrab', 1001, 0, 0, 0, 0), uint32(0), 'start a long recording');
pause(0.05);
[~, ready] = QuorvelML('GrabIsReady', 1001);
expect_equal(ready, uint32(1), 'the recording is calling back');
QuorvelSim('clearLog');
clear QuorvelML
expect_unloaded('clear QuorvelML while a recording calls back');

% A disk read that reports progress on the simulator's thread.
QuorvelSim('setMemory', 1001, 400, 1000, 50);
[s, o2] = QuorvelML('OpenCamera', 1001);
expect_equal(QuorvelML('MemoryStartGrab', 1001, 0, 0, 0, 0), uint32(0), 'record frames to download');
expect_true(QuorvelSim('waitRecording', 1001, 5000), 'the recording ends');
s = QuorvelML('MemoryStopGrab', 1001);
file = [tempname() '.qrv'];
expect_equal(QuorvelML('MemoryDownloadRawFrame', 1001, file, 0, 0, 200, 0, 0), uint32(0), 'download frames to disk');
expect_equal(QuorvelML('MemoryReadFromDisk', 1001, 0, 0, 0, 1, 0, 0), uint32(0), 'start a slow disk read');
QuorvelSim('clearLog');
clear all
expect_unloaded('clear all while a disk read reports progress');
delete(QuorvelSim('memory', 1001).diskFile);
QuorvelSim('unlock');

% A driver that refuses to unload while a recording calls back every frame:
% the module closes its cameras and stays mapped, so the child session
% neither crashes nor loses the camera for good.
mex_dir = fileparts(which('QuorvelML'));
body = ['QuorvelSim(''lock''); QuorvelSim(''setMemory'', 1004, 100000, 5000, 50); ' ...
        '[s, o2] = QuorvelML(''OpenCamera'', 1004); s = QuorvelML(''MemoryStartGrab'', 1004, 0, 0, 0, 1); ' ...
        'pause(0.05); QuorvelSim(''force'', ''drvUnload'', 1); clear QuorvelML; pause(0.2); ' ...
        '[s, o2] = QuorvelML(''OpenCamera'', 1004); ' ...
        'printf(''recording %d, reopened %d\n'', QuorvelSim(''memory'', 1004).recording, s == 0); exit(0);'];
[status, output] = system(sprintf('octave-cli --no-gui --norc --no-window-system --eval "addpath(''%s''); %s" 2>&1', ...
                                  mex_dir, body));
expect_equal(status, 0, 'a refused unload during a recording: clean exit status');
expect_true(!isempty(strfind(output, 'recording 0, reopened 1')), ...
            ['a refused unload during a recording: the recording stopped, the camera opens again: ' output]);
