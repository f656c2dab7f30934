% The QuorvelML demo on the simulated cameras: version, discovery, opening
% and closing, with every status number and its meaning.
function quorvel_demo()
  report = @(what, status) printf('  %-42s status %2d  %s\n', what, status, quorvelStatusText(status));

  printf('QuorvelML %s\n\n', QuorvelML('Version'));

  [failed, count, ids] = QuorvelML('EnumCameras', 0);
  printf('Cameras found (flag %d): %d\n', failed, count);
  printf('  id %d\n', ids);
  printf('\n');

  printf('Opening and closing\n');
  [status, first] = QuorvelML('OpenCamera', 0);
  report(sprintf('OpenCamera 0 -> camera %d', first), status);
  named = ids(end);
  [status, named] = QuorvelML('OpenCamera', named);
  report(sprintf('OpenCamera %d', named), status);
  [status, raw] = QuorvelML('OpenRawCamera', 'raw:demo-recording.qrv');
  report(sprintf('OpenRawCamera -> camera %d', raw), status);
  [status, ~] = QuorvelML('OpenCamera', 9999);
  report('OpenCamera 9999 (no such camera)', status);
  for id = [first named raw]
    report(sprintf('CloseCamera %d', id), QuorvelML('CloseCamera', id));
  end
  report(sprintf('CloseCamera %d again', first), QuorvelML('CloseCamera', first));

  printf('\nEvery status number\n');
  table = quorvelStatusText();
  for row = 1:rows(table)
    printf('  %2d  %s\n', table{row, 1}, table{row, 2});
  end
end
