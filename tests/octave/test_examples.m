% The examples run headless on the simulated cameras: what they print,
% return and write.
root = fileparts(fileparts(fileparts(which('expect_equal'))));
addpath(fullfile(root, 'examples'));
QuorvelSim('reset');
defaults = QuorvelSim('defaults');
H = defaults.height(1);
W = defaults.width(1);
expect_true(~quorvel_display_available(), 'octave-cli without a window system has no display');

% Live preview: one line per frame, the pattern moving between frames.
output = evalc('means = example_live_preview(1002, 3);');
expect_equal(numel(regexp(output, '  frame +\d+  mean', 'match')), 3, 'the preview prints every frame headless');
expect_true(numel(means) == 3 && all(diff(means) ~= 0), 'each preview is a new frame');
expect_equal(QuorvelSim('camera', 1002).open, 0, 'the preview closes its camera');

% The flagship: a 16-bit colour burst written losslessly, and a contact sheet.
folder = tempname();
output = evalc('result = example_record_burst(folder, ''Frames'', 5, ''Trigger'', 2);');
expect_equal(size(result.frames), [H W 3 5], 'five colour frames read back');
expect_equal(class(result.frames), 'uint16', 'pixel format 7 is read back as 16 bits');
expect_equal(diff(double(squeeze(result.frames(1, 1, 3, :))))', repmat(256, 1, 4), 'frames in recording order');
same = true;
for k = 1:5
  written = imread(result.files{k});
  same = same && isequal(written, result.frames(:, :, :, k));
end
expect_true(same, 'every frame file holds its frame exactly, 16 bits a sample');
sheet = imread(result.contactSheet);
expect_true(isa(sheet, 'uint8') && size(sheet, 3) == 3, 'the contact sheet is an 8-bit colour image');
orange = sheet(:, :, 1) == 255 & sheet(:, :, 2) == 160 & sheet(:, :, 3) == 0;
[r, c] = find(orange);
% 3 columns of 160 x 120 tiles over 9-pixel labels, 4-pixel borders; frame 2 (the third) ends the first row.
expect_equal([min(r) max(r) min(c) max(c)], [1 137 329 496], 'the trigger frame is framed in orange');
expect_true(~isempty(strfind(output, 'Contact sheet: ')), 'the example names its contact sheet');
expect_true(rmdir(folder, 's'), 'the example''s folder is removed whole');

% A small 16-bit burst: neighbouring tiles differ clearly, each over its own label.
evalc('small = example_record_burst(folder, ''Frames'', 2, ''Size'', [48 64]);');
sheet = double(imread(small.contactSheet));
first = sheet(5:52, 5:68, :);
second = sheet(5:52, 73:136, :);
expect_true(mean(abs(first(:) - second(:))) > 4, 'neighbouring 16-bit frames can be told apart on the sheet');
labels = {sheet(54:60, 5:68, 1) > 128, sheet(54:60, 73:136, 1) > 128};
expect_true(any(labels{1}(:)) && any(labels{2}(:)) && ~isequal(labels{:}), 'each tile carries its own label');
expect_true(rmdir(folder, 's'), 'the example''s folder is removed whole');

% Mono bursts: 16-bit mono stays 16-bit, 8-bit stays 8-bit.
folder = tempname();
evalc('mono = example_record_burst(folder, ''Camera'', 1004, ''Frames'', 2, ''PixelFormat'', 1);');
expect_equal(size(mono.frames), [H W 2], 'two mono frames');
expect_equal(class(imread(mono.files{2})), 'uint16', 'a 16-bit mono frame is written with 16 bits');
expect_equal(imread(mono.files{2}), mono.frames(:, :, 2), 'a 16-bit mono frame file is exact');
evalc('mono = example_record_burst(folder, ''Camera'', 1004, ''Frames'', 1, ''PixelFormat'', 0);');
expect_equal(imread(mono.files{1}), mono.frames, 'a single 8-bit frame');
expect_true(rmdir(folder, 's'), 'the example''s folder is removed whole');

% Timing text per frame.
QuorvelSim('setTiming', 1003, 'fixed', 2023, 60, 23, 59, 58, 999999);
output = evalc('texts = example_timing_text(1003, 2);');
expect_true(isequal(texts, repmat({'(2023/03/01) 23:59:58:999:999'}, 2, 1)), 'the timing text of every frame');
expect_equal(numel(strfind(output, '(2023/03/01) 23:59:58:999:999')), 2, 'and it is printed');
QuorvelSim('setTiming', 1003, 'gps');
evalc('texts = example_timing_text(1003, 1);');
expect_true(~isempty(regexp(texts{1}, '^\(\d{4}/\d\d/\d\d\) \d\d:\d\d:\d\d:\d{3}:\d{3}$', 'once')), ...
            'a clock time source gives a date and time');

% Segmented recording: the first frame of each segment.
output = evalc('segments = example_segmented_recording(1004, 4, 16);');
expect_equal(size(segments), [H W 4], 'four segments read back');
expect_equal(diff(double(squeeze(segments(1, 1, :))))', [32 32 32], 'segments begin 4 frames apart');
expect_equal(numel(regexp(output, sprintf('segment \\d: %d x %d uint8', H, W), 'match')), 4, ...
             'every segment is printed');
try
  evalc('example_segmented_recording(1001);');
  printf('not ok - a camera without segments is refused: no error\n');
catch err
  expect_equal(err.identifier, 'QuorvelML:notSegmented', 'a camera without segments is refused');
end

% The demo shows the class's workflow in a screenful and leaves the files
% the README names.
addpath(fullfile(root, 'demo'));
folder = tempname();
mkdir(folder);
here = pwd();
cd(folder);
output = evalc('quorvel_demo');
cd(here);
lines = strsplit(strtrim(output), "\n");
expect_true(numel(lines) < 120 && isempty(strfind(output, 'QuorvelML(''')), ...
            sprintf('the demo prints %d lines, none of them raw commands', numel(lines)));
expect_true(all(cellfun(@(name) exist(fullfile(folder, name), 'file') == 2, {'burst.tif', 'burst.qrv', 'preview.png'})), ...
            'the demo leaves burst.tif, burst.qrv and preview.png');
expect_true(rmdir(folder, 's'), 'the demo''s folder is removed whole');
