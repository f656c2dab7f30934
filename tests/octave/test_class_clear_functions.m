% A QuorvelCamera lives through "clear functions", which clears the module
% too: its handle then says it is closed and deletes without an error.
QuorvelSim('reset');
k = QuorvelCamera(1004);
clear functions
expect_equal(k.IsOpen, false, 'after clear functions the handle knows the module forgot its camera');
expect_true(~isempty(strfind(evalc('disp(k)'), '(closed)')), 'and shows itself closed');
try
  k.grab();
  printf('not ok - grab after clear functions raised nothing\n');
catch err
  expect_equal(err.identifier, 'QuorvelML:closed', 'grab after clear functions says the camera is closed');
end
delete(k);
printf('ok - delete after clear functions\n');
k = QuorvelCamera(1004);
expect_true(k.IsOpen, 'the camera opens again');
