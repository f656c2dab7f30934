% QuorvelSim refuses what it cannot honour, with an identifier and a
% message naming the argument; its memory and its waits are bounded.

QuorvelSim('reset');
expect_raises(@() QuorvelSim('nonsense'), 'QuorvelSim:unknownVerb', 'no verb is named', 'an unknown verb');
expect_raises(@() QuorvelSim('camera'), 'QuorvelSim:argumentCount', 'camera takes (id)', 'a missing argument');
expect_raises(@() QuorvelSim('setMemory', 1001, 'x', 1), 'QuorvelSim:badArgument', ...
              'capacity (argument 3) must be a number', 'a text for a number');

% An id is the camera's whole number: neither a fraction nor a complex
% number acts on camera 1001.
expect_raises(@() QuorvelSim('setInUse', 1001.9, 1), 'QuorvelSim:badArgument', ...
              'id (argument 2) must be a whole number from 0 to 4294967295', 'a fractional id');
expect_raises(@() QuorvelSim('setInUse', 1001 + 5i, 1), 'QuorvelSim:badArgument', ...
              'id (argument 2) must be real', 'a complex id');
expect_raises(@() QuorvelSim('setInUse', -1, 1), 'QuorvelSim:badArgument', 'from 0 to 4294967295', ...
              'a negative id');

% A count below -1 would force every call for ever.
expect_raises(@() QuorvelSim('force', 'drvTrigger', 1, -5), 'QuorvelSim:badArgument', ...
              'count (argument 4) must be -1 (every call) or a whole number', 'a count below -1');
expect_raises(@() QuorvelSim('forceAfter', 'drvTrigger', -1, 1), 'QuorvelSim:badArgument', ...
              'skip (argument 3) must be a whole number', 'a negative skip');
QuorvelSim('force', 'drvTrigger', 1, -1);
QuorvelSim('clearForced');
[status, colour] = QuorvelML('OpenCamera', 1001);
expect_equal(QuorvelML('Trigger', colour), uint32(0), 'nothing stays forced after the refusals');

% One camera an id.
expect_raises(@() QuorvelSim('addCamera', 1002, 5), 'QuorvelSim:badArgument', ...
              'id (argument 2) is already a simulated camera''s', 'a duplicate id');
expect_equal(QuorvelSim('cameras'), [1001 1002 1003 1004], 'the list shows each camera once');
% Id 0 asks OpenCamera for the first camera found, and 2^32 - 1 is the
% module's -1: no camera could be opened under either.
expect_raises(@() QuorvelSim('addCamera', 0, 5), 'QuorvelSim:badArgument', ...
              'id (argument 2) must be a whole number from 1 to 4294967294', 'a camera id 0');
expect_raises(@() QuorvelSim('addCamera', 2^32 - 1, 5), 'QuorvelSim:badArgument', ...
              'from 1 to 4294967294', 'a camera id 2^32 - 1');
% -1 keeps what the caller set; no other negative means anything.
expect_raises(@() QuorvelSim('setGrab', 1001, 1, 1, -5), 'QuorvelSim:badArgument', ...
              'byteSize (argument 5) must be a whole number', 'a byte size below -1');
expect_raises(@() QuorvelSim('setGrab', 1001, 1, 1, -1, -2), 'QuorvelSim:badArgument', ...
              'previewValue (argument 6) must be a whole number', 'a preview value below -1');
% A text of several rows would be read down its columns.
expect_raises(@() QuorvelSim('force', ['drvTrigger'; 'drvTrigger'], 1), 'QuorvelSim:badArgument', ...
              'operation (argument 2) must be a text', 'a text of two rows');
expect_equal(QuorvelSim('cameras'), [1001 1002 1003 1004], 'the refusals added no camera');

% Bounded memory: the log, the camera memory and the rates.
expect_raises(@() QuorvelSim('setLogLimit', -1), 'QuorvelSim:badArgument', ...
              'calls (argument 2) must be a whole number from 0 to 65536', 'a negative log limit');
expect_raises(@() QuorvelSim('setLogLimit', 65537), 'QuorvelSim:badArgument', 'from 0 to 65536', ...
              'a log limit past the bound');
expect_raises(@() QuorvelSim('setMemory', 1001, 2^32 - 1, 2^32 - 1), 'QuorvelSim:badArgument', ...
              'capacity (argument 3) must be a whole number from 0 to 16777216', 'a memory past the bound');
expect_raises(@() QuorvelSim('setMemory', 1001, 64, 2^32 - 1), 'QuorvelSim:badArgument', ...
              'framesPerSecond (argument 4) must be a whole number from 0 to 1000000', 'a rate past the bound');
expect_equal(QuorvelSim('memory', 1001).capacity, 256, 'a refused setMemory changes nothing');

% A wait nothing could end is refused; the others are bounded. Run in a
% child under a time limit, so that a wait that does not end fails here
% (killed: Octave in a wait loop does not end on SIGTERM).
mex_dir = fileparts(which('QuorvelML'));
body = ['addpath(''' mex_dir '''); QuorvelSim(''setMemory'', 1001, 64, 0); ' ...
        '[s, id] = QuorvelML(''OpenCamera'', 1001); s = QuorvelML(''MemoryStartGrab'', 1001, 10, 0, 0, 1); ' ...
        'try, QuorvelSim(''waitRecording'', 1001, 2^31); catch err, disp(err.identifier); end; ' ...
        'try, QuorvelSim(''waitRecording'', 1001); catch err, disp(err.identifier); end; ' ...
        'try, QuorvelSim(''waitDiskRead'', 1001, 60001); catch err, disp(err.identifier); end; exit(0);'];
[status, output] = system(sprintf('timeout -s KILL 30 octave-cli --no-gui --norc --no-window-system --eval "%s" 2>&1', body));
expect_equal(status, 0, 'the waits ended within the time limit');
expect_equal(numel(strfind(output, 'QuorvelSim:badArgument')), 2, ...
             'waits past 60 s are refused');
expect_equal(numel(strfind(output, 'QuorvelSim:waitCannotEnd')), 1, ...
             'a wait for a recording that records only on fireRecordEvent is refused');
status = QuorvelML('CloseCamera', colour);
QuorvelSim('reset');
