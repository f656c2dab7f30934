function info = readoutInfo(obj, positions, segments, status)
  % Per frame read: position, segment and index relative to the trigger
  % position of the recording (NaN where the recording has none).
  triggerIndex = nan(size(positions));
  [triggerStatus, trigger, ~] = QuorvelML('MemoryReadTriggerPosition', obj.Id);
  if triggerStatus == 0
    triggerIndex = positions - double(trigger);
  end
  info = struct('Position', positions, 'Segment', segments, 'TriggerIndex', triggerIndex, 'Status', status);
end
