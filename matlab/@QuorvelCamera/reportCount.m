function count = reportCount(obj)
  % count = cam.reportCount()  The recording reports the driver made since the start.
  %   A camera the driver no longer has (unplugged) raises QuorvelML:closed.
  %   Example:
  %     >> QuorvelSim('reset');
  %     >> cam = QuorvelCamera(1001);
  %     >> cam.startRecording(40, 0, 0, 10);
  %     >> cam.wait(5);
  %     >> cam.reportCount()
  %     ans = 4

  % Asks the driver whether the camera is still there: the count alone
  % would stay as it was for a camera unplugged.
  if letGoIfDetached(obj)
    raiseClosed(obj);
  end
  out = runChecked(obj, 2, 'FrameReadyCount');
  count = double(out{2});
end
