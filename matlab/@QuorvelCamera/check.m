function check(status, keyword, cameraId)
  % QuorvelCamera.check(status, keyword, cameraId)  Raises the error of a non-zero status number.
  %   cameraId may be [] for commands without a camera.
  %   >> QuorvelCamera.check(0, 'SynchGrab', 1002);   % 0 raises nothing
  %   >> QuorvelCamera.check(12, 'SynchGrab', 1002)
  %   error: Camera 1002: SynchGrab answered 12: ...
  if status == 0
    return;
  end
  error(['QuorvelML:' QuorvelCamera.statusName(status)], '%s answered %d: %s.', ...
        where(cameraId, keyword), double(status), quorvelStatusText(status));
end
