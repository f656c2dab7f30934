function id = firstCameraFound()
  % The camera an open of 0 takes; 0 when none is found.
  [failed, count, found] = QuorvelML('EnumCameras', 0);
  id = 0;
  if failed == 0 && count > 0
    id = double(found(1));
  end
end
