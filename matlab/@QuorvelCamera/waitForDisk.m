function waitForDisk(obj, timeout, progress)
  % cam.waitForDisk([seconds [, progress]])  Waits until the disk read is complete.
  %   QuorvelML:timeout after seconds (default 10; Inf: no limit;
  %   anything but a number from 0 raises QuorvelML:badTimeout). progress true prints
  %   the count read at each tenth of the read and at its end, as
  %   readFrames does.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.startRecording(4, 0, 0, 4); cam.wait(5); file = [tempname() '.qrv'];
  %   >> cam.downloadRawFrame(file, 0, 0, 4, 0, 0); cam.readFromDisk(0, 0, 4, 0, 0, 0);
  %   >> cam.waitForDisk(5);
  %   >> cam.diskProgress()
  %   ans = 1
  %   >> delete(file); delete(cam)
  if nargin < 2
    timeout = 10;
  end
  requireTimeout(obj, timeout, 'waitForDisk');
  if nargin < 3
    progress = false;
  end
  started = tic;
  shownTenth = 0;
  while true
    [finished, current, final] = obj.diskProgress();
    tenth = 0;
    if final > 0
      tenth = floor(10 * min(current, final) / final);
    end
    if progress && (tenth > shownTenth || (finished && shownTenth < 10))
      fprintf('Camera %d: disk read %d of %d frames\n', obj.Id, current, final);
      shownTenth = max(tenth, 10 * finished);
    end
    if finished
      return;
    end
    if toc(started) > timeout
      error('QuorvelML:timeout', 'Camera %d: the disk read did not finish within %g seconds (%d of %d).', ...
            obj.Id, timeout, current, final);
    end
    pause(0.01);
  end
end
