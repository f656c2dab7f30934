% QuorvelCamera when the driver loses a camera under it, with timeouts that
% are not numbers of seconds, and with texts the driver would cut.

QuorvelSim('reset');

% --- a camera the driver no longer has --------------------------------------
cam = QuorvelCamera(1001);
cam.startRecording(10, 0, 0, 1);
QuorvelSim('reset');                       % the driver forgets every open camera
expect_equal(cam.IsOpen, false, 'a handle whose camera the driver lost reports IsOpen false');
expect_raises(@() cam.reportCount(), 'QuorvelML:closed', 'the driver no longer has it', ...
              'and says why it is closed');
cam.close();
QuorvelCamera.closeAll();
printf('ok - close and closeAll raise nothing for a lost camera\n');
again = QuorvelCamera(1001);
again.startRecording(4, 0, 0, 4);
again.wait(5);
expect_equal(again.reportCount(), 1, 'the camera opens again and records');
[first, second] = again.grab();
expect_equal(size(first), [480 640 3], 'and grabs');
clear again cam

% Lost while held, with no call made on the handle: a new handle takes it.
held = QuorvelCamera(1002);
QuorvelSim('reset');
fresh = QuorvelCamera(1002);
expect_equal([held.IsOpen fresh.IsOpen], [false true], 'a new handle opens a camera its old handle lost');
expect_raises(@() held.grab(), 'QuorvelML:closed', 'the driver no longer has it', 'the old handle says why');
clear held fresh

% Unplugged: a failed command lets it go; plugged in again, it opens.
cam = QuorvelCamera(1003);
expect_true(QuorvelSim('removeCamera', 1003), 'the camera is unplugged');
expect_raises(@() cam.grab(), 'QuorvelML:closed', 'the driver no longer has it', 'a command on it says why');
expect_raises(@() cam.isReady(), 'QuorvelML:closed', 'the driver no longer has it', 'isReady says so too');
QuorvelSim('addCamera', 1003, 13);
cam = QuorvelCamera(1003);
expect_equal(cam.IsOpen, true, 'plugged in again, it opens');
clear cam

% Lost during a disk read: waitForDisk says so, as wait does, before its time is up.
cam = QuorvelCamera(1002);
cam.startRecording(4, 0, 0, 4);
cam.wait(5);
file = [tempname() '.qrv'];
cam.downloadRawFrame(file, 0, 0, 4, 0, 0);
QuorvelSim('setMemory', 1002, 256, 1000, 1);   % a frame a second: the read outlasts the reset
cam.readFromDisk(0, 0, 4, 0, 0, 0);
QuorvelSim('reset');
expect_raises(@() cam.waitForDisk(3), 'QuorvelML:closed', 'the driver no longer has it', ...
              'waitForDisk on a camera lost during its disk read');
delete(file);
clear cam

% The raw command: an open of a held id the driver lost opens it afresh.
[status, id] = QuorvelML('OpenCamera', 1004);
QuorvelSim('reset');
[status, id] = QuorvelML('OpenCamera', 1004);
expect_equal([double(status) QuorvelSim('camera', 1004).open], [0 1], 'OpenCamera opens a lost camera afresh');
status = QuorvelML('CloseCamera', 1004);

% --- timeouts: a non-negative real number of seconds, or Inf ---------------
% In a child under a time limit: a wait that never ends fails here (killed:
% Octave in a wait loop does not end on SIGTERM).
mex_dir = fileparts(which('QuorvelML'));
calls = {'cam.wait(NaN)', 'cam.wait([])', 'cam.wait(''5'')', 'cam.wait(-1)', 'cam.wait(1 + 2i)', ...
         'cam.waitUntilReady(NaN)', 'cam.waitForDisk([])', 'cam.waitForDisk(NaN)', 'cam.waitForDisk(''a'')'};
body = ['addpath(''' mex_dir '''); QuorvelSim(''setMemory'', 1002, 64, 0); cam = QuorvelCamera(1002); ' ...
        'cam.startRecording(10, 0, 0, 1); '];
for k = 1:numel(calls)
  body = [body 'try, ' calls{k} '; catch err, disp(err.identifier); end; ']; %#ok<AGROW>
end
body = [body 'exit(0);'];
[status, output] = system(sprintf('timeout -s KILL 60 octave-cli --no-gui --norc --no-window-system --eval "%s" 2>&1', ...
                                  strrep(body, '"', '\"')));
expect_equal(status, 0, 'the waits given no number of seconds ended at once');
expect_equal(numel(strfind(output, 'QuorvelML:badTimeout')), numel(calls), ...
             'every timeout that is not a number of seconds from 0 is refused');

% --- texts the driver would cut ----------------------------------------------
cam = QuorvelCamera(1001);
before = QuorvelSim('camera', 1001).traceSwitches;
expect_raises(@() cam.enableTrace(repmat('x', 1, 300), 1), 'QuorvelML:textCut', 'at most 255 characters', ...
              'a trace text of 300 characters is refused');
expect_raises(@() cam.enableTrace(['all' char(0) 'more'], 1), 'QuorvelML:textCut', 'no NUL', ...
              'a trace text with a NUL is refused');
expect_equal(QuorvelSim('camera', 1001).traceSwitches, before, 'neither reached the driver');
cam.enableTrace(repmat('x', 1, 255), 1);
expect_equal(QuorvelSim('camera', 1001).traceText, repmat('x', 1, 255), 'a text of 255 characters passes whole');
clear cam
opens = QuorvelSim('callCount', 'drvOpenRawCamera');
expect_raises(@() QuorvelCamera(['raw:a' char(0) 'b']), 'QuorvelML:textCut', 'no NUL', ...
              'a raw camera''s text with a NUL is refused');
expect_raises(@() QuorvelCamera(['raw:' repmat('x', 1, 300)]), 'QuorvelML:textCut', 'at most 255 characters', ...
              'a raw camera''s text of 304 characters is refused');
expect_equal(QuorvelSim('callCount', 'drvOpenRawCamera'), opens, 'neither reached the driver');
QuorvelSim('reset');
