function stopRecording(obj)
  % cam.stopRecording()  Stops the recording; GrabIsReady reads 0 again.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 3, 0, 8);
  %   >> cam.wait(5);
  %   >> cam.stopRecording();
  %   >> cam.isReady()
  %   ans = 0
  %   >> delete(cam)
  runChecked(obj, 1, 'MemoryStopGrab');
  claims('expect', obj.Id, obj.Serial, NaN);
end
