% Saving recordings to TIFF: every pixel format family and segments come
% back from the file as readFrames gives them, through quorvelReadFrames
% and three readers nobody here wrote (Octave's imread, tiffinfo, Python's
% tifffile); a driver failure, a write limit and Ctrl-C leave a file all
% of them read, holding the frames saved before; file problems are refused
% before the driver is asked.
1;

function identifier = errorOf(call)
  identifier = '';
  try
    call();
  catch err
    identifier = err.identifier;
  end
end

function frames = lastAlong(frames, k)
  planes = repmat({':'}, 1, 2 + (ndims(frames) == 4 || (size(frames, 3) == 3 && k > 1)));
  frames = frames(planes{:}, k);
end

function expectReadersAgree(file, frames, count, label)
  % imread page by page, tiffinfo's directories and tifffile's pixels.
  colour = ndims(frames) == 4 || (count == 1 && size(frames, 3) == 3);
  planes = repmat({':'}, 1, 2 + colour);
  read = imread(file, 'Index', 1:count);   % H x W x samples x n, in one pass
  expect_true(isequal(read(:), frames(:)) && isequal(imread(file, 'Index', count), frames(planes{:}, count)), ...
              [label ': imread gives every frame']);
  [status, listing] = system(sprintf('tiffinfo "%s" 2>&1', file));
  expect_equal([status numel(strfind(listing, 'TIFF Directory at offset')) numel(regexpi(listing, 'error|warning'))], ...
               [0 count 0], [label ': tiffinfo lists every page without complaint']);
  raw = [tempname() '.raw'];
  [status, shape] = system(sprintf(['/usr/bin/python3 -c "import sys, tifffile; a = tifffile.imread(sys.argv[1]); ', ...
                                    'a.tofile(sys.argv[2]); print(a.dtype)" "%s" "%s" 2>&1'], file, raw));
  handle = fopen(raw);
  samples = fread(handle, Inf, ['*' class(frames)]);
  fclose(handle);
  delete(raw);
  if colour  % C order: page, row, column, sample
    read = permute(reshape(samples, [3, size(frames, 2), size(frames, 1), count]), [3 2 1 4]);
  else
    read = permute(reshape(samples, [size(frames, 2), size(frames, 1), count]), [2 1 3]);
  end
  expect_true(status == 0 && strcmp(strtrim(shape), class(frames)) && isequal(read(:), frames(:)), ...
              [label ': tifffile gives every frame']);
end

function cam = recorded(id, format, frames, segments, frameSize)
  if nargin < 5
    frameSize = [40 24];
  end
  QuorvelSim('reset');
  QuorvelSim('setMemory', id, 64, 1000);
  cam = QuorvelCamera(id);
  cam.Width = frameSize(1);
  cam.Height = frameSize(2);
  cam.PixelFormat = format;
  cam.startRecording(frames, 3, segments, frames);
  cam.wait(5);
  cam.stopRecording();
end

function kb = peakGrowthKb(call)
  % How far the process's resident peak rises above its size during call.
  fid = fopen('/proc/self/clear_refs', 'w');
  fprintf(fid, '5');   % the peak starts again from the resident size
  fclose(fid);
  before = statusKb('VmRSS');
  call();
  kb = statusKb('VmHWM') - before;
end

function kb = statusKb(field)
  kb = str2double(regexp(fileread('/proc/self/status'), [field ':\s*(\d+)'], 'tokens', 'once'){1});
end

file = [tempname() '.tif'];
for format = [0 1 2 7]  % mono8, mono16, colour 8, colour 16
  cam = recorded(1001, format, 10, 0, [403 120]);  % colour pages of two and three strips, odd pixels
  positions = [0:3 6 8 9];
  info = cam.saveFrames(file, positions, 'Overwrite', true);
  [frames, expected] = cam.readFrames(positions);
  [read, readInfo] = quorvelReadFrames(file);
  label = sprintf('pixel format %d', format);
  expect_true(isequal(read, frames) && isequaln(readInfo, expected) && isequaln(info, expected), ...
              [label ': the file reads back as readFrames gives the frames and their info']);
  expectReadersAgree(file, frames, numel(positions), label);
  [two, twoInfo] = quorvelReadFrames(file, [6 2]);
  expect_true(isequal(two, cat(ndims(frames), lastAlong(frames, 6), lastAlong(frames, 2))) && ...
              isequal(twoInfo.Position, [8 1]), [label ': pages are read by their 1-based numbers']);
  clear cam
end
whole = jsondecode(imfinfo(file)(1).Comment);
expect_equal({whole.cameraId, whole.cameraType, whole.width, whole.height, whole.pixelFormat, whole.moduleVersion}, ...
             {1001, 5, 403, 120, 7, '2.14.00'}, 'the first page describes the camera and the file');

cam = recorded(1004, 0, 12, 3);
info = cam.saveSegments(file, 0:3, 'Overwrite', true);
[frames, expected] = cam.readSegments(0:3);
[read, readInfo] = quorvelReadFrames(file);
expect_true(isequal(read, frames) && isequaln(readInfo, expected) && isequaln(info, expected), ...
            'segments read back as readSegments gives them');
expectReadersAgree(file, frames, 4, 'segments');

QuorvelSim('forceAfter', 'drvReadMemory', 5, 1);
info = cam.saveFrames(file, 0:11, 'Overwrite', true);
expect_equal({info.Position, info.Status}, {0:4, 13}, 'a driver failure ends the save: info says where and why');
expectReadersAgree(file, cam.readFrames(0:4), 5, 'after a driver failure');
QuorvelSim('forceAfter', 'drvReadMemory', 1, 1);
expect_equal(errorOf(@() cam.saveFrames(file, 0:3, 'Overwrite', true)), 'QuorvelML:readFailed', ...
             'without info the status that ended the save is raised');

QuorvelSim('clearLog');
expect_equal(errorOf(@() cam.saveFrames(file, 0:3)), 'QuorvelML:fileExists', 'an existing file is refused');
expect_equal(errorOf(@() cam.saveFrames([tempname() '/none/f.tif'], 0:3)), 'QuorvelML:fileOpen', ...
             'a folder that cannot be written is refused');
expect_equal(QuorvelSim('callCount', '*'), 0, 'both before the driver is asked');
expect_equal(imfinfo(file)(1).Height, 24, 'the existing file is kept');
clear cam
delete(file);

% Memory stays flat: ten times the frames raise the resident peak by no
% more than a frame (256 KiB) or two.
cam = recorded(1001, 1, 64, 0);
cam.Width = 512;
cam.Height = 256;
saveRepeated = @(count) cam.saveFrames(file, repmat(0:63, 1, count / 64), 'Overwrite', true, 'Progress', false);
saveRepeated(64);
growth = [peakGrowthKb(@() saveRepeated(64)), peakGrowthKb(@() saveRepeated(640))];
expect_true(growth(2) - growth(1) < 512, sprintf('ten times the frames, the same memory (%d and %d KiB)', growth));
clear cam saveRepeated
delete(file);

% A write limit (ulimit -f, in KiB) on another octave-cli: the save fails
% naming the file, which keeps the frames saved before the failed write.
here = fileparts(which('QuorvelML'));
script = [tempname() '.m'];
handle = fopen(script, 'w');
fprintf(handle, ['addpath(''%s''); QuorvelSim(''reset''); QuorvelSim(''setMemory'', 1001, 64, 1000); ', ...
                 'c = QuorvelCamera(1001); c.Width = 40; c.Height = 24; c.PixelFormat = 2; ', ...
                 'c.startRecording(10, 3, 0, 10); c.wait(5); c.stopRecording(); ', ...
                 'try, c.saveFrames(''%s'', 0:9); catch e, printf(''%%s|%%s\\n'', e.identifier, e.message); end\n'], here, file);
fclose(handle);
[~, output] = system(sprintf('bash -c ''ulimit -f 8; trap "" XFSZ; octave-cli --norc "%s"'' 2>&1', script));
expect_true(~isempty(strfind(output, ['QuorvelML:fileWrite|QuorvelML: Writing the file ''' file ''' failed'])), ...
            'a write past the limit raises QuorvelML:fileWrite naming the file');
cam = recorded(1001, 2, 10, 0);
kept = numel(imfinfo(file));
expect_true(kept > 1 && kept < 10, 'the file keeps the pages written before the limit');
expectReadersAgree(file, cam.readFrames(0:kept - 1), kept, 'after a failed write');
delete(file);

% Ctrl-C during a long save: the file holds the frames of the calls
% finished before it.
fid = fopen(script, 'w');
fprintf(fid, ['addpath(''%s''); QuorvelSim(''reset''); QuorvelSim(''setMemory'', 1001, 64, 100000); ', ...
              'c = QuorvelCamera(1001); c.Width = 512; c.Height = 256; c.PixelFormat = 1; ', ...
              'c.startRecording(64, 3, 0, 64); c.wait(5); c.stopRecording(); ', ...
              'c.saveFrames(''%s'', repmat(0:63, 1, 10), ''Progress'', true);\n'], here, file);
fclose(fid);
system(sprintf(['bash -c ''octave-cli --norc "%s" > "%s.out" 2>&1 & child=$!; ', ...
                'until grep -q saved "%s.out" || ! kill -0 $child 2>/dev/null; do sleep 0.01; done; ', ...
                'kill -INT $child; wait $child'''], script, file, file));
delete(script);
delete([file '.out']);
clear cam
cam = recorded(1001, 1, 64, 0);
cam.Width = 512;
cam.Height = 256;
kept = numel(imfinfo(file));
expect_true(kept >= 64 && mod(kept, 64) == 0, 'Ctrl-C leaves the pages of the calls finished before it');
frames = cam.readFrames(0:63, false);
expectReadersAgree(file, repmat(frames, [1 1 kept / 64]), kept, 'after Ctrl-C');
delete(file);
