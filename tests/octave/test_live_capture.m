% "SynchGrab" and "MemoryPreview" on the simulated cameras: class, size,
% orientation and content of the images, the preview value, failures.
QuorvelSim('reset');
defaults = QuorvelSim('defaults');
H = defaults.height(1);
W = defaults.width(1);

% Synthetic sample of frame k at MATLAB (r+1, c+1), plane p (channel 3-p).
[C, R] = meshgrid(0:W - 1, 0:H - 1);
ramp8 = @(k, ch) uint8(mod(C + 3 * R + 8 * k + 85 * ch, 256));
ramp16 = @(k) uint16(mod(7 * C + 131 * R + 256 * k, 65536));

[status, id] = QuorvelML('OpenCamera', 1001);
expect_equal([status id], uint32([0 1001]), 'open the colour camera');
k = QuorvelSim('framesDelivered', 1001);
[status, first, second] = QuorvelML('SynchGrab', 1001, 0);
expect_equal(status, uint32(0), 'SynchGrab on the colour camera succeeds');
expect_equal(class(first), 'uint8', 'colour image is uint8');
expect_equal(size(first), [H W 3], 'colour image is H x W x 3');
expect_equal(first, cat(3, ramp8(k, 2), ramp8(k, 1), ramp8(k, 0)), 'planes hold channels 2, 1, 0 in MATLAB orientation');
expect_equal(size(second), [H W 3], 'second image has the same shape');
expect_true(~any(second(:)), 'without extra frames the second image is zero');

QuorvelSim('setParameter', 1004, 2, 1);
QuorvelSim('setParameter', 1004, 7, 1);
[status, id] = QuorvelML('OpenCamera', 1004);
k = QuorvelSim('framesDelivered', 1004);
[status, first, second] = QuorvelML('SynchGrab', 1004, 5);
expect_equal(status, uint32(0), 'two 16-bit frames from the mono camera');
expect_equal(class(first), 'uint16', 'mono 16-bit image is uint16');
expect_equal(size(first), [H W], 'mono image is H x W');
expect_equal(first, ramp16(k), 'first image holds the first frame');
expect_equal(second, ramp16(k + 1), 'second image holds the next frame');
expect_equal(QuorvelSim('camera', 1004).captureStops, 1, 'the capture is stopped once after the grab');

[status, id] = QuorvelML('OpenCamera', 1002);
k = QuorvelSim('framesDelivered', 1002);
stops = QuorvelSim('camera', 1002).captureStops;
[status, image, value] = QuorvelML('MemoryPreview', 1002);
expect_equal(status, uint32(0), 'MemoryPreview on the mono camera succeeds');
expect_equal(image, ramp8(k, 0), 'preview image in MATLAB orientation');
expect_equal(value, uint32(k), 'the preview value comes from the driver');
expect_equal(QuorvelSim('camera', 1002).captureStops, stops, 'a successful preview leaves the capture running');

QuorvelSim('setGrab', 1002, 1, 0);
[status, first, second] = QuorvelML('SynchGrab', 1002, 0);
expect_equal(status, uint32(12), 'a status word left at 0 answers 12');
expect_equal(size(first), [H W], 'images are full size on failure');
expect_true(~any(first(:)) && ~any(second(:)), 'and all zero');
expect_equal(QuorvelSim('camera', 1002).captureStops, stops + 1, 'the failed grab stops the capture');

QuorvelSim('setParameter', 1002, 2, 1);
[status, image, value] = QuorvelML('MemoryPreview', 1002);
expect_equal(status, uint32(18), 'a type-2 mono camera refuses 16-bit frames');
expect_equal(class(image), 'uint16', 'the image still has the shape of the format');

[status, first, second] = QuorvelML('SynchGrab', 777, 0);
expect_equal(status, uint32(9), 'a camera that is not open answers 9');
expect_error(@() QuorvelML('SynchGrab', 1001), "Invalid number of inputs to ZelSynchGrab\n", 'SynchGrab input count');
expect_error(@() QuorvelML('MemoryPreview', 1001), "MemoryPreview needs 3 outputs\n", 'MemoryPreview output count');
