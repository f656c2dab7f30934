function [first, second] = triggerPosition(obj)
  % [first, second] = cam.triggerPosition()  The recording's two trigger-position values.
  %   On the simulated cameras: the trigger frame's position and the
  %   frames recorded; QuorvelML:triggerPositionFailed (14) until the
  %   trigger frame is recorded.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
  %   >> cam.wait(5);
  %   >> [trigger, recorded] = cam.triggerPosition()
  %   trigger = 3
  %   recorded = 8
  %   >> cam.stopRecording();
  %   >> delete(cam)
  out = callHeld(obj, 3, 'MemoryReadTriggerPosition');
  if out{1} == 14
    error('QuorvelML:triggerPositionFailed', ['Camera %d: MemoryReadTriggerPosition answered 14: %s; the ', ...
          'trigger frame is not recorded yet, or nothing was recorded: wait for the recording (wait) and ask ', ...
          'again.'], obj.Id, quorvelStatusText(14));
  end
  QuorvelCamera.check(out{1}, 'MemoryReadTriggerPosition', obj.Id);
  first = double(out{2});
  second = double(out{3});
end
