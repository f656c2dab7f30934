function bench_whole_path(mexFolder, rounds)
  % bench_whole_path(mexFolder [, rounds])  Frames into Octave, end to end.
  %
  % Run by hand on an otherwise idle machine, from the source tree:
  %   octave-cli --eval "addpath('bench/octave'); bench_whole_path('build/mex')"
  %
  % For SynchGrab, one-frame MemoryReadData and a 256-frame MemoryReadFrames
  % (and readFrames of the camera class over the same frames), in mono8,
  % mono16 and rgb8 at 640 x 480 and 1024 x 1024 on simulated camera 1001,
  % prints frames per second and the figure that counts: the time of the
  % floor (QuorvelFloor: a MEX file that only creates the same outputs and
  % fills them by memcpy) divided by the command's time. Floor and command
  % alternate within each round; the median of the rounds is shown.
  if nargin < 2
    rounds = 5;
  end
  addpath(mexFolder);
  QuorvelSim('reset');
  id = 1001;
  cam = QuorvelCamera(id);
  cam.ExtraFrames = 0;
  bulkFrames = 256;
  QuorvelSim('setMemory', id, bulkFrames, 100000);
  formats = {'mono8', 0, 9, 1; 'mono16', 1, 11, 1; 'rgb8', 2, 9, 3};
  sizes = [640 480; 1024 1024];
  printf('%-16s %-7s %11s %10s %12s\n', 'command', 'format', 'W x H', 'frames/s', 'floor ratio');
  for s = 1:rows(sizes)
    for f = 1:rows(formats)
      [name, pixelFormat, classId, planes] = formats{f, :};
      cam.Width = sizes(s, 1);
      cam.Height = sizes(s, 2);
      cam.PixelFormat = pixelFormat;
      cam.startRecording(bulkFrames, 0, 0, bulkFrames);
      QuorvelSim('waitRecording', id);
      cam.stopRecording();
      frame = [sizes(s, 2) sizes(s, 1)];
      if planes == 3
        frame = [frame 3];
      end
      cases = {
        'SynchGrab', @() floorOutputs(classId, frame, 2, 3), @() synchGrab(id), 1
        'MemoryReadData', @() floorOutputs(classId, frame, 1, 2), @() readData(id), 1
        'MemoryReadFrames', @() floorOutputs(classId, [frame bulkFrames], 1, 3), @() readFrames(id, bulkFrames), bulkFrames
        'readFrames', @() floorOutputs(classId, [frame bulkFrames], 1, 3), @() cam.readFrames(0:bulkFrames - 1, false), bulkFrames
      };
      for c = 1:rows(cases)
        [label, floorCall, commandCall, framesPerCall] = cases{c, :};
        [ratio, seconds] = interleaved(floorCall, commandCall, rounds);
        printf('%-16s %-7s %5d x %4d %10.1f %12.2f\n', label, name, sizes(s, 1), sizes(s, 2), ...
               framesPerCall / seconds, ratio);
      end
    end
  end
  delete(cam);
end

function floorOutputs(classId, dimensions, images, outputs)
  out = cell(1, outputs);
  [out{:}] = QuorvelFloor(classId, dimensions, images);
end

function synchGrab(id)
  [status, first, second] = QuorvelML('SynchGrab', id, 0); %#ok<ASGLU>
end

function readData(id)
  [status, image] = QuorvelML('MemoryReadData', id, 3, 0, 0); %#ok<ASGLU>
end

function readFrames(id, count)
  [status, frames, n] = QuorvelML('MemoryReadFrames', id, 0, count);
  if status ~= 0 || n ~= count
    error('bench:readout', 'MemoryReadFrames answered %d after %d frames', status, n);
  end
end

% Median over the rounds of floor time / command time, each round timing
% the floor and then the command over the same number of calls (enough for
% about a fifth of a second); and the command's median seconds per call.
function [ratio, seconds] = interleaved(floorCall, commandCall, rounds)
  commandCall();  % warm: the module's buffers grown, the pages mapped
  floorCall();
  started = tic;
  commandCall();
  calls = max(1, round(0.2 / max(toc(started), 1e-6)));
  ratios = zeros(1, rounds);
  times = zeros(1, rounds);
  for r = 1:rounds
    floorTime = timeCalls(floorCall, calls);
    times(r) = timeCalls(commandCall, calls);
    ratios(r) = floorTime / times(r);
  end
  ratio = median(ratios);
  seconds = median(times) / calls;
end

function elapsed = timeCalls(call, calls)
  started = tic;
  for k = 1:calls
    call();
  end
  elapsed = toc(started);
end
