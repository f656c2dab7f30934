function ids = list(filter)
  % QuorvelCamera.list([filter])  Identifiers of the cameras the driver finds (at most 10).
  %   filter is passed to the driver; 0 (the default) lists every camera.
  %   >> ids = QuorvelCamera.list()
  %   ids =
  %      1001   1002   1003   1004
  if nargin < 1
    filter = 0;
  end
  requireWhole([], filter, 'QuorvelCamera.list', 'the filter', 2^32 - 1);
  [failed, count, found] = QuorvelML('EnumCameras', filter);
  if failed ~= 0
    error('QuorvelML:enumerationFailed', 'EnumCameras failed: the driver could not list the cameras.');
  end
  ids = double(found(1:count));
end
