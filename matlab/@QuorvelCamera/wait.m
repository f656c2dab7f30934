function wait(obj, timeout, reports)
  % cam.wait([seconds [, reports]])  Waits for the recording's end: its last report.
  %   A recording started with startRecording(frames, trigger, segments,
  %   interval) ends with its report number ceil(frames / interval)
  %   (interval 0 as 1); give reports to wait for another count, and
  %   use waitUntilReady to wait for the first report only. A recording
  %   of frames 0 (until the memory is full) has no known end: give
  %   reports. QuorvelML:timeout after seconds (default 10;
  %   Inf: no limit; anything but a number from 0 raises QuorvelML:badTimeout).
  %   Example:
  %     >> QuorvelSim('reset');
  %     >> cam = QuorvelCamera(1002);
  %     >> cam.startRecording(100, 40, 0, 10);
  %     >> cam.wait(5);
  %     >> frames = cam.readFrames(0:99, false);
  %     >> size(frames, 3)
  %     ans = 100
  if nargin < 2
    timeout = 10;
  end
  requireTimeout(obj, timeout, 'wait');
  if nargin < 3
    reports = claims('expected', obj.Id, obj.Serial);
  else
    requireWhole(obj, reports, 'wait', 'the report count', 2^32 - 1);
  end
  if isnan(reports) || isinf(reports)
    error('QuorvelML:unknownEnd', ['Camera %d: the end of the recording is unknown (this handle started ' ...
          'none of a known frame count since its last stop): wait for a number of reports with ' ...
          'wait(seconds, reports), or for the first with waitUntilReady.'], obj.Id);
  end
  started = tic;
  asked = 0;
  % The module's count, polled; the driver is asked about the camera once
  % a second and at the end.
  out = runChecked(obj, 2, 'FrameReadyCount');
  count = double(out{2});
  while count < reports
    asked = raiseIfLostWhileWaiting(obj, started, asked, timeout);
    if toc(started) > timeout
      error('QuorvelML:timeout', 'Camera %d: the recording did not end within %g seconds (%d of %d reports).', ...
            obj.Id, timeout, count, reports);
    end
    pause(0.01);
    out = runChecked(obj, 2, 'FrameReadyCount');
    count = double(out{2});
  end
end
