function ready = isReady(obj)
  % cam.isReady()  True once the driver has reported a recording event since the start.
  %   A camera the driver no longer has (unplugged) raises QuorvelML:closed.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
  %   >> cam.wait(5);
  %   >> cam.isReady()
  %   ans = 1
  %   >> cam.stopRecording();
  %   >> delete(cam)

  % Asks the driver whether the camera is still there: the count alone
  % would stay as it was for a camera unplugged.
  if letGoIfDetached(obj)
    raiseClosed(obj);
  end
  out = runChecked(obj, 2, 'GrabIsReady');
  ready = out{2} ~= 0;
  % The module answers "not ready" for a camera it does not hold.
  if ~ready && ~holds(obj)
    raiseClosed(obj);
  end
end
