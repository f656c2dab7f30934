function rows = settingsTable(cameraType)
  % The named settings of a camera type from quorvel-settings.tsv beside
  % the MEX files: a struct array with Name, Number, Unit and Meaning, in
  % the file's order; a row for the type takes the place of a row for
  % every type ('*') of the same name. Without a type, every row's name.
  file = fullfile(fileparts(fileparts(fileparts(mfilename('fullpath')))), 'quorvel-settings.tsv');
  text = fileread(file);
  lines = regexp(text, '[^\r\n]+', 'match');
  lines = lines(~strncmp(lines, '#', 1));
  header = {};
  if ~isempty(lines)
    header = strsplit(lines{1}, sprintf('\t'));
  end
  missing = setdiff({'type', 'name', 'number', 'unit', 'meaning'}, header, 'stable');
  if ~isempty(missing)
    error('QuorvelML:settingsFile', '%s: the header names no column %s.', file, strjoin(missing, ', '));
  end
  rows = struct('Name', {}, 'Number', {}, 'Unit', {}, 'Meaning', {});
  types = {};
  for k = 2:numel(lines)
    cells = strsplit(lines{k}, sprintf('\t'));
    if numel(cells) ~= numel(header)
      error('QuorvelML:settingsFile', '%s, line "%s": %d columns, where the header names %d.', ...
            file, lines{k}, numel(cells), numel(header));
    end
    field = @(name) cells{find(strcmp(header, name), 1)};
    if isempty(regexp(field('number'), '^\d+$', 'once'))
      error('QuorvelML:settingsFile', '%s, line "%s": the number "%s" is not a whole number.', ...
            file, lines{k}, field('number'));
    end
    type = field('type');
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
