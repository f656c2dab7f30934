function reports = reportsOf(frames, interval)
  % The report that ends a recording of frames with that interval: one
  % after every interval-th frame and one after the last.
  if frames == 0
    reports = Inf;
  else
    reports = ceil(double(frames) / max(double(interval), 1));
  end
end
