function waitUntilReady(obj, timeout)
  % cam.waitUntilReady([seconds])  Waits for the recording's first report (isReady).
  %   A recording that reports more than once goes on after it; wait
  %   waits for its end. QuorvelML:timeout after seconds (default 10; Inf: no limit;
  %   anything but a number from 0 raises QuorvelML:badTimeout).
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(40, 0, 0, 10);   % reports after every 10th frame
  %   >> cam.waitUntilReady(5);
  %   >> cam.isReady()
  %   ans = 1
  %   >> cam.wait(5);                        % the fourth report: the recording's end
  %   >> cam.reportCount()
  %   ans = 4
  %   >> delete(cam)
  if nargin < 2
    timeout = 10;
  end
  requireTimeout(obj, timeout, 'waitUntilReady');
  started = tic;
  asked = 0;
  % The module's flag, polled; the driver is asked about the camera once
  % a second and at the end.
  out = runChecked(obj, 2, 'GrabIsReady');
  while out{2} == 0
    asked = raiseIfLostWhileWaiting(obj, started, asked, timeout);
    if toc(started) > timeout
      error('QuorvelML:timeout', 'Camera %d: no recording event within %g seconds.', obj.Id, timeout);
    end
    pause(0.01);
    out = runChecked(obj, 2, 'GrabIsReady');
  end
end
