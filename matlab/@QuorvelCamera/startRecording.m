function startRecording(obj, frames, trigger, segments, interval)
  % cam.startRecording([frames, trigger, segments, interval])  Starts recording into camera memory.
  %   frames: how many to record (0: until the memory is full); trigger:
  %   the frame the trigger falls on; segments: the last segment number
  %   of a segmented recording; interval: the driver reports after every
  %   interval-th frame and after the last (0 as 1). Omitted values are 0.
  %   All four go to the driver as they are. wait waits for the last report.
  %   Until this handle's recording of a frame count has made its last
  %   report (one that filled the memory first never does), a new start is
  %   refused before the driver is asked (QuorvelML:grabFailed): stop it first.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
  %   >> cam.wait(5);
  %   >> [trigger, recorded] = cam.triggerPosition()
  %   trigger = 3
  %   recorded = 8
  %   >> cam.stopRecording();
  %   >> delete(cam)
  values = {0, 0, 0, 0};
  given = {};
  if nargin > 1, given{end + 1} = frames; end
  if nargin > 2, given{end + 1} = trigger; end
  if nargin > 3, given{end + 1} = segments; end
  if nargin > 4, given{end + 1} = interval; end
  values(1:numel(given)) = given;
  names = {'the frame count', 'the trigger frame', 'the last segment number', 'the report interval'};
  for k = 1:4
    requireWhole(obj, values{k}, 'startRecording', names{k}, 2^32 - 1);
  end
  % A start refused while the recording runs would clear its report count:
  % one of a known end is refused here, and wait can still wait for it.
  expected = claims('expected', obj.Id, obj.Serial);
  if isfinite(expected) && recordingRuns(obj)
    error('QuorvelML:grabFailed', ['Camera %d: the recording this handle started has made %d of its %d ' ...
          'reports; stop it first with stopRecording, or wait for its end with wait.'], obj.Id, ...
          obj.reportCount(), expected);
  end
  out = callHeld(obj, 1, 'MemoryStartGrab', values{:});
  if out{1} == 12 && recordingRuns(obj)
    error('QuorvelML:grabFailed', ['Camera %d: MemoryStartGrab answered 12: a recording this handle ' ...
          'started is still running; stop it first with stopRecording, or wait for its end with wait.'], obj.Id);
  end
  QuorvelCamera.check(out{1}, 'MemoryStartGrab', obj.Id);
  claims('expect', obj.Id, obj.Serial, reportsOf(values{1}, values{4}));
end
