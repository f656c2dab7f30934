function bench_save(mexFolder, folder, rounds)
  % bench_save(mexFolder [, folder [, rounds]])  Saving recordings to TIFF against a plain write.
  %
  % Run by hand on an otherwise idle machine, from the source tree:
  %   octave-cli --eval "addpath('bench/octave'); bench_save('build/mex', '/tmp')"
  %
  % For mono8, mono16 and rgb8 at 1024 x 1024 on simulated camera 1001,
  % saves 256 recorded frames with cam.saveFrames (the simulator renders
  % each one as it is read) into folder (default tempdir) and, in turn, writes
  % the same number of bytes there in frame-sized blocks with dd (write(2)
  % from /dev/zero; Octave's own fwrite converts every element). Prints
  % both rates and the figure that counts, save rate / write rate; the
  % median of the rounds (default 5). The files are deleted as they go.
  if nargin < 2
    folder = tempdir();
  end
  if nargin < 3
    rounds = 5;
  end
  addpath(mexFolder);
  QuorvelSim('reset');
  id = 1001;
  frames = 256;
  QuorvelSim('setMemory', id, frames, 100000);
  cam = QuorvelCamera(id);
  cam.Width = 1024;
  cam.Height = 1024;
  formats = {'mono8', 0, 1; 'mono16', 1, 2; 'rgb8', 2, 3};
  file = fullfile(folder, 'quorvel_bench_save.tif');
  plain = fullfile(folder, 'quorvel_bench_plain.bin');
  printf('%-7s %11s %12s %13s %7s\n', 'format', 'W x H', 'save MiB/s', 'write MiB/s', 'ratio');
  for f = 1:rows(formats)
    [name, pixelFormat, bytesPerPixel] = formats{f, :};
    cam.PixelFormat = pixelFormat;
    cam.startRecording(frames, 0, 0, frames);
    QuorvelSim('waitRecording', id);
    cam.stopRecording();
    frameBytes = 1024 * 1024 * bytesPerPixel;
    command = sprintf('dd if=/dev/zero of="%s" bs=%d count=%d status=none', plain, frameBytes, frames);
    seconds = zeros(rounds, 2);
    for r = 1:rounds
      tic;
      cam.saveFrames(file, 0:frames - 1, 'Overwrite', true, 'Progress', false);
      seconds(r, 1) = toc;
      delete(file);
      tic;
      system(command);
      seconds(r, 2) = toc;
      delete(plain);
    end
    mebibytes = frames * frameBytes / 2^20;
    rates = mebibytes ./ median(seconds);
    printf('%-7s %5d x %4d %12.0f %13.0f %7.2f\n', name, 1024, 1024, rates(1), rates(2), median(seconds(:, 2) ./ seconds(:, 1)));
  end
  delete(cam);
end
