function expect_unloaded(label)
  % After the module was cleared: the driver was unloaded exactly once since
  % the log was last cleared, no callback registration survives, and the
  % module reloads with an empty camera table.
  expect_equal(QuorvelSim('callCount', 'drvUnload'), 1, [label ': the driver is unloaded once']);
  expect_equal(QuorvelSim('loaded'), false, [label ': the driver is no longer loaded']);
  expect_equal(QuorvelSim('fireRecordEvent', 1001), false, [label ': no recording callback is left']);
  expect_equal(QuorvelSim('fireDiskProgress', 1001, 1, 1), false, [label ': no disk-read callback is left']);
  expect_equal(QuorvelML('CloseCamera', 1001), uint32(6), [label ': the reloaded module holds no camera']);
end
