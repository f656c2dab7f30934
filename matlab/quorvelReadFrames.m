function [frames, info] = quorvelReadFrames(file, pages)
  % QUORVELREADFRAMES  Reads back frames that QuorvelCamera.saveFrames or saveSegments saved.
  %
  %   [frames, info] = quorvelReadFrames(file)          every page of the file
  %   [frames, info] = quorvelReadFrames(file, pages)   the pages given, 1-based, in that order
  %
  %   frames and info are what readFrames (or readSegments) gives for the
  %   same frames: the stack along the last dimension (mono along 3, colour
  %   along 4) of the saved class, and per frame its Position, Segment and
  %   TriggerIndex (NaN where the page says null), with Status 0. The class
  %   and shape come from the pages' own sample size and count, whatever
  %   their values. Any TIFF reader reads the file too: imread(file,
  %   'Index', k) is frame k, and each page's ImageDescription is a JSON
  %   object of the same values. A file that is no TIFF, holds no page,
  %   pages of two sizes or stored otherwise than a save stores them raises
  %   QuorvelML:fileFormat, a name that is no regular file
  %   QuorvelML:fileOpen; a page without a description of its frame
  %   QuorvelML:pageDescription; page numbers the file does not have
  %   QuorvelML:badPage, each naming the file and the page.
  %
  %   Example:  cam = QuorvelCamera(1001);
  %             cam.startRecording(8, 3, 0, 8); cam.wait(5); cam.stopRecording();
  %             file = [tempname() '.tif'];
  %             cam.saveFrames(file, 0:7);
  %             [frames, info] = quorvelReadFrames(file, 2:3);
  %             isequal(frames, cam.readFrames(1:2))
  %             delete(file); clear cam
  %
  %   See also QuorvelCamera.

  if ~(ischar(file) && isrow(file))
    error('QuorvelML:fileName', 'quorvelReadFrames takes a file name: one row of text.');
  end
  if ~isRegularFile(file)  % opening a FIFO waits for a writer, and no signal ends that
    error('QuorvelML:fileOpen', 'Cannot read the file ''%s'': it is no regular file.', file);
  end
  [fid, reason] = fopen(file, 'r');
  if fid < 0
    error('QuorvelML:fileOpen', 'Cannot read the file ''%s'': %s.', file, reason);
  end
  closeFile = onCleanup(@() fclose(fid));
  directory = tiffPages(fid, file);
  if nargin < 2
    pages = 1:numel(directory);
  end
  if ~isnumeric(pages) || ~isreal(pages) || isempty(pages) || ...
     any(~(pages(:) >= 1 & pages(:) <= numel(directory) & pages(:) == fix(pages(:))))
    error('QuorvelML:badPage', 'The file ''%s'' has pages 1 to %d; pages takes some of their numbers.', ...
          file, numel(directory));
  end
  pages = double(pages(:)');
  count = numel(pages);
  first = directory(pages(1));
  frameClass = sampleClass(first, pages(1), file);
  if ~first.inside  % before a stack of its size is taken
    error('QuorvelML:fileFormat', 'Page %d of the file ''%s'' ends before its pixels do.', pages(1), file);
  end
  shape = [first.height first.width];
  if first.samples == 3
    shape = [shape 3];
  end
  frames = zeros([shape count], frameClass);
  planes = repmat({':'}, 1, numel(shape));
  info = struct('Position', nan(1, count), 'Segment', nan(1, count), 'TriggerIndex', nan(1, count), 'Status', 0);
  for k = 1:count
    page = directory(pages(k));
    sampleClass(page, pages(k), file);
    if ~isequal([page.width page.height page.samples page.bits], [first.width first.height first.samples first.bits])
      error('QuorvelML:fileFormat', ['Page %d of the file ''%s'' is %d x %d x %d samples of %d bits, ', ...
            'page %d %d x %d x %d of %d: one stack holds frames of one size.'], pages(k), file, page.width, ...
            page.height, page.samples, page.bits, pages(1), first.width, first.height, first.samples, first.bits);
    end
    frames(planes{:}, k) = pagePixels(fid, page, frameClass, pages(k), file);
    origin = pageOrigin(page.description, pages(k), file);
    info.Position(k) = origin(1);
    info.Segment(k) = origin(2);
    info.TriggerIndex(k) = origin(3);
  end
end

function directory = tiffPages(fid, file)
  % Every page's directory: its size, samples, strips and description,
  % walked by the file's own links, refusing a chain that loops or runs
  % past the end.
  fseek(fid, 0, 'eof');
  fileBytes = ftell(fid);
  fseek(fid, 0, 'bof');
  mark = fread(fid, [1 2], 'char=>char');
  orders = struct('II', 'ieee-le', 'MM', 'ieee-be');
  if numel(mark) ~= 2 || ~isfield(orders, mark)
    error('QuorvelML:fileFormat', 'The file ''%s'' is no TIFF file.', file);
  end
  order = orders.(mark);
  version = fread(fid, 1, 'uint16=>double', 0, order);
  big = isequal(version, 43);
  if ~big && ~isequal(version, 42)
    error('QuorvelML:fileFormat', 'The file ''%s'' is no TIFF file.', file);
  end
  word = 'uint32=>double';
  if big
    word = 'uint64=>double';
    fseek(fid, 8, 'bof');
  end
  next = fread(fid, 1, word, 0, order);
  directory = struct('width', {}, 'height', {}, 'bits', {}, 'samples', {}, 'stored', {}, 'inside', {}, 'offsets', {}, ...
                     'counts', {}, 'description', {}, 'order', {});
  seen = [];
  while ~isempty(next) && next ~= 0
    if next >= fileBytes
      error('QuorvelML:fileFormat', 'Page %d of the file ''%s'' lies past its end.', numel(seen) + 1, file);
    end
    [directory(end + 1), following] = readDirectory(fid, next, big, order, word, fileBytes);
    if isempty(following)
      error('QuorvelML:fileFormat', 'Page %d of the file ''%s'' lies past its end.', numel(seen) + 1, file);
    end
    if following <= next && any(seen == following)  % a chain that only goes forward cannot loop
      error('QuorvelML:fileFormat', 'Page %d of the file ''%s'' links back to an earlier page.', numel(seen) + 1, file);
    end
    seen(end + 1) = next;
    next = following;
  end
  if isempty(directory)
    error('QuorvelML:fileFormat', 'The file ''%s'' holds no page.', file);
  end
end

function [page, next] = readDirectory(fid, offset, big, order, word, fileBytes)
  % The tags a saved page carries, from the directory at the offset; next
  % empty when the directory runs past the end of the file.
  entryBytes = 12 + 8 * big;
  countWord = 'uint16=>double';
  if big
    countWord = 'uint64=>double';
  end
  % Bytes per value, and how to read it, of the value types a saved page uses.
  sizes = [1 1 2 4 0 0 0 0 0 0 0 0 0 0 0 8];
  precisions = {'uint8', 'char', 'uint16', 'uint32', '', '', '', '', '', '', '', '', '', '', '', 'uint64'};
  fseek(fid, offset, 'bof');
  entries = fread(fid, 1, countWord, 0, order);
  runsPast = isempty(entries) || entries * entryBytes > fileBytes - offset;
  entries = entries * ~runsPast;
  tags = struct('t256', 0, 't257', 0, 't258', 1, 't259', 1, 't262', -1, 't270', '', 't273', [], 't277', 1, ...
                't279', [], 't284', 1, 't339', 1);
  for k = 1:entries
    fseek(fid, offset + 2 + 6 * big + (k - 1) * entryBytes, 'bof');
    tag = fread(fid, 1, 'uint16=>double', 0, order);
    type = fread(fid, 1, 'uint16=>double', 0, order);
    values = fread(fid, 1, word, 0, order);
    name = sprintf('t%d', tag);
    if ~isfield(tags, name) || isempty(type) || type < 1 || type > numel(sizes) || sizes(type) == 0
      continue;
    end
    if values * sizes(type) > 4 + 4 * big
      fseek(fid, fread(fid, 1, word, 0, order), 'bof');
    end
    if type == 2
      tags.(name) = deblank(fread(fid, [1 values], 'char=>char'));
    else
      tags.(name) = fread(fid, values, [precisions{type} '=>double'], 0, order)';
    end
  end
  fseek(fid, offset + 2 + 6 * big + entries * entryBytes, 'bof');
  next = fread(fid, 1, word, 0, order);
  next = next(1:double(~runsPast));
  tags.t258(end + 1:1) = 0;  % a page without a sample size is stored no way a save stores one
  oneValue = cellfun(@isscalar, {tags.t256, tags.t257, tags.t259, tags.t262, tags.t277, tags.t284});
  stored = all(oneValue) && all(tags.t258 == tags.t258(1)) && tags.t259 == 1 && tags.t284 == 1 && ...
           all(tags.t339 == 1) && tags.t262 == 1 + (tags.t277 == 3) && tags.t256 >= 1 && tags.t257 >= 1;
  width = tags.t256(1:double(stored));
  height = tags.t257(1:double(stored));
  bits = tags.t258(1);
  samples = tags.t277(1:double(stored));
  % Strips inside the file that hold the page's samples exactly: nothing
  % of a size the file does not hold is taken.
  inside = stored && numel(tags.t273) == numel(tags.t279) && all(tags.t273 + tags.t279 <= fileBytes) && ...
           all(mod(tags.t279, max(bits, 8) / 8) == 0) && sum(tags.t279) * 8 == width * height * samples * bits;
  page = struct('width', width, 'height', height, 'bits', bits, 'samples', samples, 'stored', stored, ...
                'inside', inside, 'offsets', tags.t273, 'counts', tags.t279, 'description', tags.t270, ...
                'order', order);
end

function regular = isRegularFile(file)
  % False for a folder, FIFO, device or socket; a missing file is left to fopen.
  if exist('OCTAVE_VERSION', 'builtin')
    [status, failure] = stat(file);
    regular = failure ~= 0 || S_ISREG(status.mode);
  elseif usejava('jvm')
    candidate = java.io.File(file);
    if ~candidate.isAbsolute()
      candidate = java.io.File(pwd, file);  % Java's own folder is not MATLAB's
    end
    regular = candidate.isFile() || ~candidate.exists();
  else
    regular = true;
  end
end

function frameClass = sampleClass(page, number, file)
  classes = struct('b8', 'uint8', 'b16', 'uint16');
  name = sprintf('b%d', page.bits);
  if ~page.stored || ~isfield(classes, name) || ~any(page.samples == [1 3])
    error('QuorvelML:fileFormat', ['Page %d of the file ''%s'' is not stored as a save stores frames ', ...
          '(8 or 16 unsigned bits, 1 or 3 interleaved samples, uncompressed).'], number, file);
  end
  frameClass = classes.(name);
end

function image = pagePixels(fid, page, frameClass, number, file)
  % The page's samples in its rows' order, as readFrames holds the frame.
  samples = page.width * page.height * page.samples;
  pixels = zeros(samples, 1, frameClass);
  done = 0;
  for strip = 1:numel(page.offsets)
    take = min(page.counts(strip) / (page.bits / 8), samples - done);
    fseek(fid, page.offsets(strip), 'bof');
    [read, got] = fread(fid, take, ['*' frameClass], 0, page.order);
    if got ~= take || ~page.inside
      error('QuorvelML:fileFormat', 'Page %d of the file ''%s'' ends before its pixels do.', number, file);
    end
    pixels(done + (1:take)) = read;
    done = done + take;
  end
  if done ~= samples
    error('QuorvelML:fileFormat', 'Page %d of the file ''%s'' ends before its pixels do.', number, file);
  end
  image = permute(reshape(pixels, [page.samples page.width page.height]), [3 2 1]);
end

function origin = pageOrigin(description, number, file)
  % [position segment triggerIndex] from the page's JSON description: each
  % a whole number (position and segment from 0) or null (NaN).
  names = {'position', 'segment', 'triggerIndex'};
  try
    fields = jsondecode(description);
  catch
    fields = [];
  end
  origin = nan(1, 3);
  valid = isstruct(fields) && isscalar(fields) && all(isfield(fields, names));
  for k = 1:3 * valid
    value = fields.(names{k});
    if isnumeric(value) && isscalar(value) && isreal(value) && value == fix(value) && (value >= 0 || k == 3)
      origin(k) = double(value);
    elseif ~(isnumeric(value) && isempty(value))
      valid = false;
    end
  end
  if ~valid
    error('QuorvelML:pageDescription', ['Page %d of the file ''%s'' has no description of its frame: ', ...
          'a JSON object of whole numbers or null position, segment and triggerIndex.'], number, file);
  end
end
