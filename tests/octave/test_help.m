% The help file beside the MEX: every keyword of the command table with its
% inputs and outputs as the module counts them, and every status number;
% the camera class names every status number as the module does.
root = fileparts(fileparts(fileparts(which('expect_equal'))));
helpText = get_help_text('QuorvelML');
expect_true(~isempty(strfind(helpText, 'QUORVELML')), 'help QuorvelML shows the help file beside the MEX');

% Rows of the command table as the build writes them, in the folder that
% holds the MEX folder: keyword, argument kinds, output kinds ("-": none).
listing = fileread(fullfile(fileparts(fileparts(which('QuorvelML'))), 'command_table.txt'));
rows = cellfun(@(line) strsplit(line, "\t"), strsplit(strtrim(listing), "\n"), 'UniformOutput', false);
rows = cellfun(@(row) strrep(row(1:3), '-', ''), rows, 'UniformOutput', false);
for k = 1:numel(rows)
  [keyword, kinds, outputs] = rows{k}{:};
  synopsis = regexp(helpText, ['\n\s*(\[[^\]\n]*\]|\w+) = QuorvelML\(''' keyword '''([^)\n]*)\)'], 'tokens', 'once');
  if isempty(synopsis)
    printf('not ok - %s has no synopsis in the help\n', keyword);
    continue;
  end
  given = numel(strsplit(synopsis{1}, ','));
  shownInputs = numel(regexp(synopsis{2}, ',', 'match'));
  expect_equal([given shownInputs], [numel(outputs) numel(kinds)], ...
               sprintf('%s: outputs and inputs in the help', keyword));
  expect_true(~isempty(regexp(helpText, ['\n\s*>> [^\n]*''' keyword ''''], 'once')), ...
              sprintf('%s: an example in the help', keyword));
end

% MATLAB's tab completion beside the MEX: valid JSON, one alternative per
% row of the command table, in its order, with the row's input count.
signatures = fileread(fullfile(fileparts(which('QuorvelML')), 'functionSignatures.json'));
group = jsondecode(signatures).QuorvelML.inputs.mutuallyExclusiveGroup;
offered = regexp(signatures, 'choices=\{''(\w+)''\}', 'tokens');
expect_equal(cellfun(@(t) t{1}, offered, 'UniformOutput', false), cellfun(@(r) r{1}, rows, 'UniformOutput', false), ...
             'functionSignatures.json offers every keyword of the command table');
expect_equal(cellfun(@numel, group)', cellfun(@(r) numel(r{2}) + 1, rows), ...
             'functionSignatures.json gives each keyword its inputs');

expect_equal({group{7}.name}, {'keyword', 'cameraId', 'parameter'}, ...
             'functionSignatures.json names GetParameter''s arguments');
for name = public_methods('QuorvelCamera')
  expect_true(~isempty(strfind(signatures, ['"QuorvelCamera.' name{1} '"'])), ...
              ['functionSignatures.json has QuorvelCamera.' name{1}]);
end

% Every status number of the module, with its meaning in the help's table
% and its name as an error identifier.
codes = regexp(fileread(fullfile(root, 'common', 'ResultCodeList.h')), '\nQUORVEL_RESULT\((\d+), (\w+),\s*"([^"]*)"\)', 'tokens');
expect_equal(cellfun(@(c) str2double(c{1}), codes), [0, 2:15, 17:25], ...
             'the status numbers are 0, 2 to 15 and 17 to 25');
flatHelp = regexprep(helpText, '\s+', ' ');
for k = 1:numel(codes)
  [code, name, meaning] = codes{k}{:};
  expect_true(~isempty(strfind(flatHelp, [' ' code ' ' meaning])), ...
              sprintf('status %s is explained in the help as "%s"', code, meaning));
  if ~strcmp(name, 'Ok')
    expect_equal(QuorvelCamera.statusName(str2double(code)), [lower(name(1)) name(2:end)], ...
                 sprintf('status %s is the error QuorvelML:%s', code, [lower(name(1)) name(2:end)]));
  end
end

% Every public method of the class shows its own help. Octave finds a path
% function of the same name first (close, delete, info, version), so those
% are read from the class folder: the method's file, or the class file.
classFolder = fileparts(which('QuorvelCamera'));
for name = public_methods('QuorvelCamera')
  name = name{1};
  if strcmp(name, 'QuorvelCamera')
    continue;
  end
  if exist(name, 'file') == 2
    source = fileread(which('QuorvelCamera'));
    if exist(fullfile(classFolder, [name '.m']), 'file')
      source = fileread(fullfile(classFolder, [name '.m']));
    end
    text = [regexp(source, ['function [^\n]*\<' name '\([^\n]*\n\s*%([^\n]*)'], 'tokens', 'once'){:}, ''];
  else
    text = get_help_text(['QuorvelCamera.' name]);
  end
  expect_true(~isempty(strfind(text, [name '('])), sprintf('help QuorvelCamera.%s shows its own help', name));
end
contents = fileread(fullfile(root, 'matlab', 'Contents.m'));
for name = {'QuorvelML', 'QuorvelCamera', 'quorvelStatusText', 'build_quorvelml'}
  expect_true(~isempty(strfind(contents, name{1})), ['Contents.m lists ' name{1}]);
end

% A newcomer's words find the module: lookfor searches first help lines.
for word = {'trigger', 'exposure'}
  expect_true(~isempty(strfind(evalc(['lookfor ' word{1}]), 'QuorvelML')), ['lookfor ' word{1} ' finds QuorvelML']);
end

% The class help's table of pixel formats says what the camera gives.
rows = regexp(get_help_text('QuorvelCamera'), ['\n\s+(\d+)\s+(\w+)\s+(uint8|uint16)\s+H x W((?: x 3)?)\s+' ...
                                               '(uint8|uint16)\s+H x W((?: x 3)?)'], 'tokens');
expect_equal(cellfun(@(row) row{1}, rows, 'UniformOutput', false), {'0', '1', '2', '7'}, ...
             'the class help names pixel formats 0, 1, 2 and 7');
QuorvelSim('reset');
cam = QuorvelCamera(1001);
cam.Width = 32;
cam.Height = 8;
for row = rows
  [format, ~, liveClass, liveColour, readClass, readColour] = row{1}{:};
  cam.PixelFormat = str2double(format);
  live = cam.grab();
  cam.startRecording(1, 0, 0, 1);
  cam.wait(5);
  recorded = cam.readFrame(0);
  expect_equal({class(live), size(live, 3), class(recorded), size(recorded, 3)}, ...
               {liveClass, 1 + 2 * ~isempty(liveColour), readClass, 1 + 2 * ~isempty(readColour)}, ...
               sprintf('pixel format %s gives what the class help says', format));
end
clear cam

% MATLAB takes a function's output as a variable all through the function:
% no method or helper of the class names an output after a function of the
% host that it also calls.
classFolder = fileparts(which('QuorvelCamera'));
files = [dir(fullfile(classFolder, '*.m')); dir(fullfile(classFolder, 'private', '*.m'))]';
shadowing = {};
for file = files
  text = regexprep(fileread(fullfile(file.folder, file.name)), '%[^\n]*', '');
  outputs = regexp(text, '^\s*function\s+\[?([\w, ~]*?)\]?\s*=', 'tokens', 'once');
  for name = regexp([outputs{:}], '\w+', 'match')
    if any(exist(name{1}) == [2 3 5]) && ~isempty(regexp(text, ['=[^=\n]*(?<![\w.])' name{1} '\s*\('], 'once'))
      shadowing{end + 1} = sprintf('%s: %s', file.name, name{1}); %#ok<AGROW>
    end
  end
end
expect_equal(shadowing, {}, 'no class file names an output after a function it calls');
