function [frames, read, status] = readMany(obj, keyword, unit, numbers, progress, keepPartial)
  % Reads each run of consecutive numbers with one call of the bulk keyword
  % into one stack along the last dimension; with progress shown (once the
  % readout has lasted a second), a tenth of the frames a call. The first frame that fails ends the readout: with
  % keepPartial the frames before it are kept and its status number is
  % returned, otherwise its error is raised.
  numbers = numbers(:)';
  count = numel(numbers);
  read = 0;
  status = 0;
  if count == 0
    % No frames: an empty stack of the class and frame shape a read gives.
    out = runChecked(obj, 3, keyword, 0, 0);
    frames = out{2};
    return;
  end
  chunk = count;
  if progress
    chunk = max(1, ceil(count / 10));
  end
  bounds = quorvelCommandBounds();
  chunk = min(chunk, bounds.(keyword));  % the most one bulk call reads
  frames = [];
  bytes = 0;
  if progress
    shown = progressLine({obj.Id, 'read', count});
    ender = progressLine(); %#ok<NASGU> ends the line should the read stop midway
  end
  while read < count && status == 0
    [first, span] = consecutiveRun(numbers, read, chunk);
    out = callHeld(obj, 3, keyword, first, span);
    [status, block, got] = deal(double(out{1}), out{2}, double(out{3}));
    if got > 0
      frames = placeFrames(frames, block, got, read, count);
      read = read + got;
      bytes = bytes + numel(block) * (1 + isa(block, 'uint16')) * got / span;
    end
    if status ~= 0 && ~keepPartial
      raiseReadFailure(obj, keyword, unit, status, numbers(read + 1), read, count);
    end
    if progress
      shown = progressLine(shown, read, bytes);
    end
  end
  if progress
    progressLine(shown, read, bytes, 'end');
  end
  if read > 0 && read < count
    planes = repmat({':'}, 1, ndims(frames) - 1);
    frames = frames(planes{:}, 1:read);
  end
end
