function rows = settingsTable(cameraType)
  % The named settings of a camera type from quorvel-settings.tsv beside
  % the MEX files: a struct array with Name, Number, Unit and Meaning, in
  % the file's order; a row for the type takes the place of a row for
  % every type ('*') of the same name. Without a type, every row's name.
  % Read as the Python package reads its copy: cells at every tab, names,
  % types and numbers of ASCII only, so that both hosts mean one thing.
  file = fullfile(fileparts(fileparts(fileparts(mfilename('fullpath')))), 'quorvel-settings.tsv');
  lines = regexp(tableText(file), '[^\r\n]+', 'match');
  lines = lines(~strncmp(lines, '#', 1));
  header = {};
  if ~isempty(lines)
    header = regexp(lines{1}, '\t', 'split');
  end
  missing = setdiff({'type', 'name', 'number', 'unit', 'meaning'}, header, 'stable');
  if ~isempty(missing)
    error('QuorvelML:settingsFile', '%s: the header names no column %s.', file, strjoin(missing, ', '));
  end
  rows = struct('Name', {}, 'Number', {}, 'Unit', {}, 'Meaning', {});
  types = {};
  seen = {};
  for k = 2:numel(lines)
    cells = regexp(lines{k}, '\t', 'split');
    if numel(cells) ~= numel(header)
      refuse(file, lines{k}, sprintf('%d columns, where the header names %d', numel(cells), numel(header)));
    end
    field = @(name) cells{find(strcmp(header, name), 1)};
    type = field('type');
    if ~(strcmp(type, '*') || isWhole(type))
      refuse(file, lines{k}, sprintf('the type "%s" is neither * nor a whole number', type));
    end
    if isempty(regexp(field('name'), '^[A-Za-z][A-Za-z0-9_]*$', 'once'))
      refuse(file, lines{k}, sprintf('the name "%s" is not a letter followed by letters, digits and underscores', ...
             field('name')));
    end
    if ~(isWhole(field('number')) && str2double(field('number')) <= 2^32 - 1)
      refuse(file, lines{k}, sprintf('the number "%s" is not a whole number from 0 to 4294967295', field('number')));
    end
    key = [type sprintf('\t') lower(field('name'))];
    if any(strcmp(seen, key))
      refuse(file, lines{k}, sprintf('the name "%s" is given twice for type %s', field('name'), type));
    end
    seen{end + 1} = key; %#ok<AGROW>
    if nargin > 0 && ~(strcmp(type, '*') || str2double(type) == cameraType)
      continue;
    end
    row = struct('Name', field('name'), 'Number', str2double(field('number')), 'Unit', field('unit'), ...
                 'Meaning', field('meaning'));
    same = find(strcmpi({rows.Name}, row.Name), 1);
    if isempty(same)
      rows(end + 1) = row; %#ok<AGROW>
      types{end + 1} = type; %#ok<AGROW>
    elseif strcmp(types{same}, '*')
      rows(same) = row;
      types{same} = type;
    end
  end
end

function text = tableText(file)
  % The table's text without a byte-order mark. A folder or a pipe (whose
  % read would wait for a writer) is refused before it is opened.
  [regular, failure] = isRegularFile(file);
  if ~isempty(failure)
    error('QuorvelML:settingsFile', '%s: cannot be read (%s).', file, failure);
  elseif ~regular
    error('QuorvelML:settingsFile', '%s: not a regular file.', file);
  end
  try
    text = fileread(file);
  catch failure
    error('QuorvelML:settingsFile', '%s: cannot be read (%s).', file, failure.message);
  end
  if strncmp(text, char([239 187 191]), 3)
    text = text(4:end);   % the mark's bytes, as Octave reads them
  elseif ~isempty(text) && double(text(1)) == 65279
    text = text(2:end);   % the mark decoded, as MATLAB reads it
  end
end

function [regular, failure] = isRegularFile(file)
  failure = '';
  if exist('OCTAVE_VERSION', 'builtin') ~= 0
    [info, failed, failure] = stat(file);
    regular = failed == 0 && S_ISREG(info.mode);
  elseif usejava('jvm')
    regular = java.io.File(file).isFile();
  else
    regular = isfile(file);
  end
end

function yes = isWhole(text)
  yes = ~isempty(regexp(text, '^[0-9]+$', 'once'));
end

function refuse(file, line, what)
  error('QuorvelML:settingsFile', '%s, line "%s": %s.', file, line, what);
end
