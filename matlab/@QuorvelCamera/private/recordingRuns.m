function running = recordingRuns(obj)
  % A recording this handle started has not ended nor been stopped.
  reports = claims('expected', obj.Id, obj.Serial);
  running = ~isnan(reports) && obj.reportCount() < reports;
end
