% Recording into camera memory on the simulator's recording thread, polled
% with GrabIsReady; frames read back by position and by segment carry the
% frame numbers of the recording; a raw download read back from disk; and
% clear QuorvelML during a recording.
QuorvelSim('reset');
colour = 1001;
segmented = 1004;
QuorvelSim('setMemory', colour, 64, 200);
QuorvelSim('setParameter', colour, 15, 16);
QuorvelSim('setParameter', colour, 16, 8);
QuorvelSim('setParameter', colour, 2, 1);   % 16-bit mono: frame k starts with 256 k

[status, id] = QuorvelML('OpenCamera', colour);
expect_equal([status id], uint32([0 colour]), 'open the colour camera');
[status, ready] = QuorvelML('GrabIsReady', colour);
expect_equal([status ready], uint32([0 0]), 'not ready before any recording');

expect_equal(QuorvelML('MemoryStartGrab', colour, 20, 5, 0, 1), uint32(0), 'start a 20-frame recording');
polls = 0;
do
  [status, ready] = QuorvelML('GrabIsReady', colour);
  polls += 1;
  pause(0.005);
until ready == 1 || polls > 400
expect_equal([status ready], uint32([0 1]), 'GrabIsReady turns 1 once the driver called back');
expect_true(QuorvelSim('waitRecording', colour), 'the recording ends by itself');
expect_equal(QuorvelML('MemoryStopGrab', colour), uint32(0), 'stop');
[status, ready] = QuorvelML('GrabIsReady', colour);
expect_equal([status ready], uint32([0 0]), 'not ready after the stop');
expect_true(QuorvelSim('fireLateRecordEvent', colour), 'the driver calls back after the stop');
[status, ready] = QuorvelML('GrabIsReady', colour);
expect_equal([status ready], uint32([0 0]), 'a late callback changes nothing');

[status, trigger, recorded] = QuorvelML('MemoryReadTriggerPosition', colour);
expect_equal([status trigger recorded], uint32([0 5 20]), 'trigger position and frames recorded');

memory = QuorvelSim('memory', colour);
numbers = zeros(1, 20);
for position = 0:19
  [status, image] = QuorvelML('MemoryReadData', colour, position, 0, 0);
  if status ~= 0 || ~isequal(size(image), [8 16]) || ~isa(image, 'uint16')
    break;
  end
  numbers(position + 1) = double(image(1, 1)) / 256;
end
expect_equal(status, uint32(0), 'every recorded frame reads back as a 16 x 8 uint16 image');
expect_equal(diff(numbers), ones(1, 19), 'encoded frame numbers follow the recording');
expect_equal(numbers, mod(memory.frames, 256), 'and are the frames the simulator recorded');
[status, image] = QuorvelML('MemoryReadData', colour, 20, 0, 0);
expect_equal([status nnz(image)], uint32([13 0]), 'position 20 was not recorded');
[status, frames, framesRead] = QuorvelML('MemoryReadFrames', colour, 17, 5);
expect_equal([status framesRead], uint32([13 3]), 'a stack past the recording stops at position 20');
expect_equal(squeeze(double(frames(1, 1, :)))' / 256, numbers(18:20), 'and holds the 3 frames before it');
QuorvelSim('partialFrame', colour, 2);
[status, image] = QuorvelML('MemoryReadData', colour, 1, 0, 0);
expect_equal([status image(1, 1) nnz(image(2:end))], [uint32(13) uint16(256 * mod(memory.frames(2), 256)) 0], ...
             'a frame written in part before a failure arrives as written');

file = [tempname() '.qrv'];
expect_equal(QuorvelML('MemoryDownloadRawFrame', colour, file, 10, 0, 5, 0, 0), uint32(0), ...
             'download frames 10 to 14');
expect_true(exist(file, 'file') == 2, 'the driver wrote the file');
expect_equal(QuorvelML('MemoryStartGrab', colour, 3, 0, 0, 1), uint32(0), 'record 3 new frames');
expect_true(QuorvelSim('waitRecording', colour), 'they are recorded');
expect_equal(QuorvelML('MemoryReadFromDisk', colour, 0, 0, 3, 1, 0, 0), uint32(0), ...
             'read the file back to position 3');
expect_true(QuorvelSim('waitDiskRead', colour), 'the disk read reports its end');
[status, image] = QuorvelML('MemoryReadData', colour, 7, 0, 0);
expect_equal([status image(1, 1)], [uint32(0) uint16(256 * mod(memory.frames(15), 256))], ...
             'position 7 now holds the downloaded frame 14');
delete(file);

for side = [2^31, 2^32 - 1]  % frames no host holds: 11 and an empty stack, not an error of the host's
  QuorvelSim('setParameter', colour, 15, side, 16, side);
  QuorvelSim('setParameter', colour, 16, side, 16, side);
  [status, frames, count] = QuorvelML('MemoryReadFrames', colour, 0, 4);
  expect_equal({status, size(frames), count}, {uint32(11), [0 0 0], uint32(0)}, ...
               sprintf('frames of %d x %d answer 11', side, side));
end
QuorvelSim('setParameter', colour, 15, 16);
QuorvelSim('setParameter', colour, 16, 8);

QuorvelSim('setMemory', segmented, 64, 0);
QuorvelSim('setParameter', segmented, 15, 4);
QuorvelSim('setParameter', segmented, 16, 2);
[status, ~] = QuorvelML('OpenCamera', segmented);
expect_equal(status, uint32(0), 'open the segmented camera');
expect_equal(QuorvelML('MemoryStartGrab', segmented, 12, 0, 2, 1), uint32(0), '12 frames in 3 segments');
for event = 1:12
  QuorvelSim('fireRecordEvent', segmented);
end
memory = QuorvelSim('memory', segmented);
expect_equal(memory.segments, [0 4 8], 'segments begin every 4 frames');
[status, image] = QuorvelML('MemoryReadData', segmented, 99, 99, 2);
expect_equal([status image(1, 1)], [uint32(0) uint8(mod(8 * memory.frames(9), 256))], ...
             'segment 2 reads the frame at position 8');
expect_equal(QuorvelML('MemoryStopGrab', segmented), uint32(0), 'stop the segmented camera');

QuorvelSim('setMemory', colour, 1000000, 5000, 5000);
expect_equal(QuorvelML('MemoryStartGrab', colour, 0, 0, 0, 1), uint32(0), 'start a long recording');
pause(0.05);
clear QuorvelML
memory = QuorvelSim('memory', colour);
expect_equal(memory.recording, false, 'clear QuorvelML stops the recording thread');
pause(0.05);
expect_equal(QuorvelML('Version'), '2.14.00', 'the module comes back after clear');
