function [first, second] = triggerPosition(obj)
  % [first, second] = cam.triggerPosition()  The recording's two trigger-position values.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
  %   >> cam.wait(5);
  %   >> [trigger, recorded] = cam.triggerPosition()
  %   trigger = 3
  %   recorded = 8
  %   >> cam.stopRecording();
  %   >> delete(cam)
  out = runChecked(obj, 3, 'MemoryReadTriggerPosition');
  first = double(out{2});
  second = double(out{3});
end
