function bench_save(mexFolder, folder, rounds)
  % bench_save(mexFolder [, folder [, rounds]])  Saving recordings to TIFF against a plain write and tifffile.
  %
  % Run by hand on an otherwise idle machine, from the source tree:
  %   octave-cli --eval "addpath('bench/octave'); bench_save('build/mex', '/tmp')"
  %
  % For mono8, mono16, rgb8 and rgb16 at 1024 x 1024 (256 frames) and
  % 2048 x 2048 (64 frames) on simulated camera 1001, saves the recorded
  % frames with cam.saveFrames (the simulator renders each one as it is
  % read) into folder (default tempdir) and, in turn, writes the same
  % number of bytes there in frame-sized blocks with dd (write(2) from
  % /dev/zero; Octave's own fwrite converts every element), and has
  % Python's tifffile (Debian's /usr/bin/python3) write a stack of the same
  % shape from a numpy array already in memory, one page per frame, timing
  % the write alone. Each timed write comes right after a write of its own
  % of the same bytes: a virtual machine may hand memory freed a while ago
  % back to its host and pay to take it again, which would fall on
  % whichever writer came first after a pause. Prints the three rates and
  % the figures that count, save rate / write rate and save rate /
  % tifffile rate; the median of the rounds (default 5). The files are
  % deleted as they go.
  if nargin < 2
    folder = tempdir();
  end
  if nargin < 3
    rounds = 5;
  end
  addpath(mexFolder);
  QuorvelSim('reset');
  id = 1001;
  formats = {'mono8', 0, 1, 'uint8'; 'mono16', 1, 2, 'uint16'; 'rgb8', 2, 3, 'uint8'; 'rgb16', 7, 6, 'uint16'};
  sizes = [1024 256; 2048 64];  % side, frames: the same pixels either way
  file = fullfile(folder, 'quorvel_bench_save.tif');
  plain = fullfile(folder, 'quorvel_bench_plain.bin');
  printf('%-7s %11s %11s %12s %14s %11s %13s\n', 'format', 'W x H', 'save MiB/s', 'write MiB/s', ...
         'tifffile MiB/s', 'save/write', 'save/tifffile');
  for s = 1:rows(sizes)
    [side, frames] = deal(sizes(s, 1), sizes(s, 2));
    QuorvelSim('setMemory', id, frames, 100000);
    cam = QuorvelCamera(id);
    cam.Width = side;
    cam.Height = side;
    for f = 1:rows(formats)
      [name, pixelFormat, bytesPerPixel, sampleClass] = formats{f, :};
      cam.PixelFormat = pixelFormat;
      cam.startRecording(frames, 0, 0, frames);
      QuorvelSim('waitRecording', id);
      cam.stopRecording();
      frameBytes = side * side * bytesPerPixel;
      command = sprintf('dd if=/dev/zero of="%s" bs=%d count=%d status=none', plain, frameBytes, frames);
      writers = {@() saveSeconds(cam, file, frames), @() plainSeconds(command, plain), ...
                 @() tifffileSeconds(file, frames, side, bytesPerPixel > 2, sampleClass)};
      seconds = zeros(rounds, 3);
      for r = 1:rounds
        for w = 1:3
          writers{w}();  % the warm-up write
          seconds(r, w) = writers{w}();
        end
      end
      mebibytes = frames * frameBytes / 2^20;
      rates = mebibytes ./ median(seconds);
      printf('%-7s %5d x %4d %11.0f %12.0f %14.0f %11.2f %13.2f\n', name, side, side, rates, ...
             median(seconds(:, 2) ./ seconds(:, 1)), median(seconds(:, 3) ./ seconds(:, 1)));
    end
    delete(cam);
  end
end

function seconds = saveSeconds(cam, file, frames)
  tic;
  cam.saveFrames(file, 0:frames - 1, 'Overwrite', true, 'Progress', false);
  seconds = toc;
  delete(file);
end

function seconds = plainSeconds(command, plain)
  tic;
  system(command);
  seconds = toc;
  delete(plain);
end

function seconds = tifffileSeconds(file, frames, side, colour, sampleClass)
  % tifffile's write of a frames x side x side (x 3) stack, from memory.
  shape = sprintf('(%d, %d, %d%s)', frames, side, side, repmat(', 3', 1, colour));
  photometric = {'minisblack', 'rgb'}{1 + colour};
  [status, output] = system(sprintf(['/usr/bin/python3 -c "import sys, time, numpy, tifffile; ', ...
      'a = numpy.full(%s, 7, numpy.%s); t = time.perf_counter(); ', ...
      'tifffile.imwrite(sys.argv[1], a, photometric=''%s'', metadata=None); ', ...
      'print(time.perf_counter() - t)" "%s"'], shape, sampleClass, photometric, file));
  if status ~= 0
    error('bench:tifffile', 'tifffile failed: %s', output);
  end
  seconds = str2double(output);
  delete(file);
end
