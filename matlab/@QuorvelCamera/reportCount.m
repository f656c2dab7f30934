function count = reportCount(obj)
  % count = cam.reportCount()  The recording reports the driver made since the start.
  %   Example:
  %     >> QuorvelSim('reset');
  %     >> cam = QuorvelCamera(1001);
  %     >> cam.startRecording(40, 0, 0, 10);
  %     >> cam.wait(5);
  %     >> cam.reportCount()
  %     ans = 4
  out = runChecked(obj, 2, 'FrameReadyCount');
  count = double(out{2});
end
