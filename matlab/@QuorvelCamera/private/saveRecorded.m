function info = saveRecorded(obj, keyword, file, numbers, keepPartial, options)
  % info = saveRecorded(cam, keyword, file, numbers, keepPartial, options)
  % QuorvelCamera's saveFrames and saveSegments: saves in calls of about
  % half a second each, each run of consecutive numbers in one call that
  % leaves the file valid and closed, so that Ctrl-C between calls leaves
  % every frame saved so far and the progress line moves. The first call
  % saves a few frames; the rate it reaches sizes the next. The first call
  % makes the file (or its replacement, which takes the name once it holds
  % a page); the later ones append to the file it named. With keepPartial
  % a frame that fails ends the save with its status in info; without,
  % its error is raised.
  settings = struct('Overwrite', false, 'Progress', numel(numbers) >= obj.ProgressThreshold);
  for k = 1:2:numel(options)
    if k == numel(options) || ~(ischar(options{k}) && isrow(options{k})) || ~isfield(settings, options{k})
      error('QuorvelML:saveOption', 'Saving takes the options Overwrite and Progress, each with a value.');
    end
    value = options{k + 1};
    if ~(isscalar(value) && (islogical(value) || (isnumeric(value) && isreal(value) && any(value == [0 1]))))
      error('QuorvelML:saveOption', 'The option %s takes true or false; %s is neither.', options{k}, describe(value));
    end
    settings.(options{k}) = logical(value);
  end
  % The class has checked the numbers: whole and in range, integers kept
  % whole so that positions beyond 2^53 reach the driver exactly.
  if isempty(file)
    error('QuorvelML:fileName', 'A file name is a non-empty text.');
  end
  if ~holds(obj)
    raiseClosed(obj);
  end
  numbers = numbers(:)';
  count = numel(numbers);
  chunk = min(count, 16);
  secondsPerCall = 0.5;
  saved = 0;
  status = 0;
  mode = double(settings.Overwrite);  % 0: a new file, 1: replace; then 2: append
  shown = progressLine({obj.Id, 'saved', count});
  ender = progressLine(); %#ok<NASGU> ends the line should the save stop midway
  while saved < count && status == 0
    [first, span] = consecutiveRun(numbers, saved, chunk);
    started = tic;
    try
      [status, got] = QuorvelML(keyword, obj.Id, file, first, span, mode, count);
    catch failure
      if strcmp(failure.identifier, 'QuorvelML:fileExists')
        error('QuorvelML:fileExists', 'The file ''%s'' exists and is kept: pass ''Overwrite'', true to replace it.', file);
      end
      rethrow(failure);
    end
    saved = saved + double(got);
    chunk = max(1, floor(double(got) * secondsPerCall / max(toc(started), eps)));
    mode = 2;
    if settings.Progress
      shown = progressLine(shown, saved);
    end
  end
  if settings.Progress
    progressLine(shown, saved, NaN, 'end');
  end
  if status ~= 0 && ~keepPartial
    QuorvelCamera.check(status, keyword, obj.Id);
  end
  positions = double(numbers(1:saved));
  segments = nan(1, saved);
  if strcmp(keyword, 'MemorySaveSegments')
    [positions, segments] = deal(segments, positions);
  end
  info = readoutInfo(obj, positions, segments, double(status));
end
