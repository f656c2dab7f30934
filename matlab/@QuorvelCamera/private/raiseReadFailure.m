function raiseReadFailure(obj, keyword, unit, status, number, read, count)
  % The status error of a readout, with where it stopped and, from the
  % recording's trigger-position record, how many frames it holds.
  recorded = [' No recorded trigger frame is known: record first (startRecording), wait for the', ...
              ' recording (wait), then read.'];
  [triggerStatus, ~, frames] = QuorvelML('MemoryReadTriggerPosition', obj.Id);
  if triggerStatus == 0
    recorded = sprintf(' The recording holds %d frames (positions 0 to %d).', frames, double(frames) - 1);
  end
  error(['QuorvelML:' QuorvelCamera.statusName(status)], ...
        'Camera %d: %s answered %d at %s %d: %s; %d of the %d frames asked for were read.%s', ...
        obj.Id, keyword, status, unit, number, quorvelStatusText(status), read, count, recorded);
end
