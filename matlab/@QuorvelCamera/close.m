function close(obj)
  % cam.close()  Closes the camera; QuorvelML:closeFailed when the driver fails.
  %   Closing a camera that is already closed does nothing.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.close();
  %   >> cam.IsOpen
  %   ans = 0
  if obj.IsOpen
    runChecked(obj, 1, 'CloseCamera');
    claims('release', obj.Id, obj.Serial);
  end
end
