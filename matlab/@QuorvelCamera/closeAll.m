function closeAll()
  % QuorvelCamera.closeAll()  Closes every camera a QuorvelCamera of this session holds.
  %   Their handles then report IsOpen false. Cameras the driver fails to
  %   close stay held, and QuorvelML:closeFailed names them after the
  %   others are closed.
  %   >> a = QuorvelCamera(1001);
  %   >> b = QuorvelCamera(1002);
  %   >> QuorvelCamera.closeAll();
  %   >> [a.IsOpen, b.IsOpen]
  %   ans =
  %     0  0
  held = claims('list');
  failed = [];
  for k = 1:size(held, 1)
    [id, serial] = deal(held(k, 1), held(k, 2));
    if serialOf(id) ~= serial || QuorvelML('CloseCamera', id) == 0
      claims('release', id, serial);
    else
      failed(end + 1) = id; %#ok<AGROW>
    end
  end
  if ~isempty(failed)
    error('QuorvelML:closeFailed', 'CloseCamera failed for camera %s: %s.', mat2str(failed), ...
          quorvelStatusText(6));
  end
end
