function waitForDisk(obj, timeout, progress)
  % cam.waitForDisk([seconds [, progress]])  Waits until the disk read is complete.
  %   QuorvelML:timeout after seconds (default 10; Inf: no limit;
  %   anything but a number from 0 raises QuorvelML:badTimeout);
  %   QuorvelML:closed once the driver no longer has the camera. progress
  %   true shows, once the wait has lasted a second, the frames read, their
  %   rate and the time left, as readFrames does.
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
  asked = 0;
  shown = [];
  ender = progressLine(); %#ok<NASGU> ends the line should the wait stop midway
  % The module's counts, polled; the driver is asked about the camera once
  % a second and at the end, since a camera unplugged reports no more.
  while true
    [finished, current, final] = obj.diskProgress();
    if progress && final > 0
      if isempty(shown)
        shown = progressLine({obj.Id, 'disk read', final});
      end
      shown = progressLine(shown, min(current, final));
    end
    if finished
      if ~isempty(shown)
        progressLine(shown, current, NaN, 'end');
      end
      return;
    end
    asked = raiseIfLostWhileWaiting(obj, started, asked, timeout);
    if toc(started) > timeout
      error('QuorvelML:timeout', 'Camera %d: the disk read did not finish within %g seconds (%d of %d).', ...
            obj.Id, timeout, current, final);
    end
    pause(0.01);
  end
end
