% build_quorvelml in Octave: the MEX built into a fresh folder with the
% simulated driver beside it, found through RUNPATH $ORIGIN, and replaced
% by another library of the driver's name without a rebuild. Each built
% folder is tried in its own octave-cli, so that nothing of this process's
% loaded driver is reused.
1;

function [status, output] = octaveIn(folder, code)
  command = sprintf('cd "%s" && octave-cli --norc --no-gui --no-window-system --eval "addpath(''%s''); %s" 2>&1', ...
                    tempdir(), folder, code);
  [status, output] = system(command);
end

root = fileparts(fileparts(fileparts(which('expect_equal'))));
% The CMake build's folder.
mexFolder = fileparts(which('QuorvelSim'));
addpath(fullfile(root, 'matlab'));
folder = tempname();
% As the README builds: from the source folder, with matlab/ added by its relative name.
here = pwd();
cd(root);
addpath('matlab');
lastwarn('');
evalc('built = build_quorvelml(''Output'', folder);');
expect_true(isempty(lastwarn()), ['a build with addpath(''matlab'') warns of nothing: ' lastwarn()]);
expect_true(any(strcmp(strsplit(path(), pathsep()), 'matlab')), 'the relative folder stays on the path');
rmpath('matlab');
cd(here);
expect_equal(built, folder, 'the script answers the output folder');
listing = dir(folder);
expect_true(all(ismember({'QuorvelML.mex', 'QuorvelSim.mex', 'libQuorvelDrv.so', 'QuorvelML.m', '@QuorvelCamera', ...
                          'quorvelStatusText.m'}, {listing.name})), 'MEX files, driver and MATLAB files in one folder');
expect_true(~any(strcmp({listing.name}, 'build_quorvelml.m')), 'the build script stays in the source tree');
expect_equal(fileread(fullfile(folder, 'private', 'quorvelStatusTable.m')), ...
             fileread(fullfile(mexFolder, 'private', 'quorvelStatusTable.m')), ...
             'the build script writes the status numbers'' table as the CMake build does');
expect_equal(fileread(fullfile(folder, 'QuorvelML.m')), fileread(fullfile(mexFolder, 'QuorvelML.m')), ...
             'the build script fills the version, the status numbers and the error identifiers into the help as the CMake build does');
expect_equal(fileread(fullfile(folder, 'QuorvelSim.m')), fileread(fullfile(mexFolder, 'QuorvelSim.m')), ...
             'the build script writes the help of QuorvelSim as the CMake build does');
expect_equal(fileread(fullfile(folder, '@QuorvelCamera', 'private', 'quorvelCommandBounds.m')), ...
             fileread(fullfile(mexFolder, '@QuorvelCamera', 'private', 'quorvelCommandBounds.m')), ...
             'the build script writes the commands'' bounds as the CMake build does');
expect_equal(fileread(fullfile(folder, 'functionSignatures.json')), fileread(fullfile(mexFolder, 'functionSignatures.json')), ...
             'the build script writes the tab completion as the CMake build does');
expect_equal(fileread(fullfile(folder, 'quorvel-settings.tsv')), fileread(fullfile(root, 'matlab', 'quorvel-settings.tsv')), ...
             'the build script puts the settings table beside the MEX files');
[~, dynamic] = system(sprintf('readelf -d "%s/QuorvelML.mex"', folder));
expect_true(~isempty(strfind(dynamic, 'Library runpath: [$ORIGIN]')), 'the MEX has the RUNPATH $ORIGIN');
expect_true(~isempty(strfind(dynamic, 'Shared library: [libQuorvelDrv.so]')), 'the MEX links the driver by name');
expect_true(~isempty(regexp(dynamic, 'Shared library: \[libtiff\.so', 'once')), 'the MEX links libtiff where it is installed');

% Without libtiff saving is left out, and only saving.
plainFolder = tempname();
evalc('build_quorvelml(''Output'', plainFolder, ''Tiff'', ''none'');');
[~, output] = octaveIn(plainFolder, ['printf(''%s|'', QuorvelML(''Version'')); [~, id] = QuorvelML(''OpenCamera'', 1002); ', ...
                                     'try, [s, n] = QuorvelML(''MemorySaveFrames'', id, tempname(), 0, 1, 0, 1); ', ...
                                     'catch e, printf(''%s|'', e.identifier); end']);
expect_equal(strtrim(regexprep(output, 'error: ignoring const execution_exception[^\n]*', '')), ...
             '2.14.00|QuorvelML:savingLeftOut|', 'a build without libtiff runs every other command and says saving is left out');
expect_true(rmdir(plainFolder, 's'), 'the build without libtiff is removed whole');

[status, output] = octaveIn(folder, ['printf(''%s|'', QuorvelML(''Version'')); c = QuorvelCamera(1002); ', ...
                                     'printf(''%d|%d|'', c.Id, QuorvelSim(''camera'', 1002).open); ', ...
                                     'h = get_help_text(''QuorvelML''); printf(''%d|'', numel(strfind(h, ''OpenCamera'')) > 0);']);
expect_equal(strtrim(regexprep(output, 'error: ignoring const execution_exception[^\n]*', '')), '2.14.00|1002|1|1|', ...
             'the built folder alone runs the module, the class, the simulator control and the help');

% A lab's own settings table beside the MEX files: a row for a camera type
% takes the place of the row of the same name for every type.
table = fopen(fullfile(folder, 'quorvel-settings.tsv'), 'w');
fprintf(table, '# a lab''s table\ntype\tname\tnumber\tunit\tmeaning\n*\tShutter\t11\tms\tfor all\n2\tshutter\t35\tticks\tfor type 2\n');
fclose(table);
[~, output] = octaveIn(folder, ['a = QuorvelCamera(1002); b = QuorvelCamera(1001); a.set(''Shutter'', 77); ', ...
                                '[~, ~, unit] = a.get(''SHUTTER''); printf(''%d|%d|%s|'', a.getParameter(35), ', ...
                                'b.get(''Shutter''), unit); try, b.set(''Exposure'', 1); catch e, printf(''%s'', e.message); end']);
expect_equal(strtrim(regexprep(output, 'error: ignoring const execution_exception[^\n]*', '')), ['77|1000|ticks|', ...
             'Camera 1001: set: camera type 5 has no setting named ''Exposure''; its settings are Shutter.'], ...
             'a lab''s table names the settings, a type''s row before the row for every type');
% A malformed table is refused, naming the file and the line; the file is
% read at each call, and read as the Python package reads its own.
header = sprintf('type\tname\tnumber\tunit\tmeaning\n');
tables = {sprintf('type\tname\tnumber\tunit\n*\tGain\t40\tdB\n'), [header sprintf('*\tGain\t40\tdB\n')], ...
          [header sprintf('*\tGain\tforty\tdB\tgain\n')], [header sprintf('+2\tGain\t11\tus\tgain\n')], ...
          [header sprintf('*\tMy Gain\t11\tus\tgain\n')], [header sprintf('*\tGain\t4294967296\tus\tgain\n')], ...
          [header sprintf('*\tGain\t11\tus\tgain\n*\tgain\t7\tframes\tgain\n')], ...
          [char([239 187 191]) strrep(header, "\n", "\r\n") sprintf('*\tGain\t11\t\tgain\r\n')], header};
for k = 1:numel(tables)
  fputs(fopen(fullfile(folder, sprintf('table%d.tsv', k)), 'w'), tables{k});
end
fclose('all');
[~, output] = octaveIn(folder, ['a = QuorvelCamera(1002); cd(''' folder '''); for k = 1:' num2str(numel(tables)) ', ', ...
                                'copyfile(sprintf(''table%d.tsv'', k), ''quorvel-settings.tsv''); ', ...
                                'try, [v, ~, u] = a.get(''Gain''); printf(''%d[%s]|'', v, u); ', ...
                                'catch e, printf(''%s|%s|'', e.identifier, e.message); end; end; ', ...
                                'delete(''quorvel-settings.tsv''); system(''mkfifo quorvel-settings.tsv''); ', ...
                                'try, a.get(''Gain''); catch e, printf(''%s'', e.message); end']);
table = fullfile(folder, 'quorvel-settings.tsv');
refusal = @(what) sprintf('QuorvelML:settingsFile|%s%s.|', table, what);
expect_equal(strtrim(regexprep(output, 'error: ignoring const execution_exception[^\n]*', '')), ...
             [refusal(': the header names no column meaning'), ...
              refusal(sprintf(', line "*\tGain\t40\tdB": 4 columns, where the header names 5')), ...
              refusal(sprintf(', line "*\tGain\tforty\tdB\tgain": the number "forty" is not a whole number from 0 to 4294967295')), ...
              refusal(sprintf(', line "+2\tGain\t11\tus\tgain": the type "+2" is neither * nor a whole number')), ...
              refusal(sprintf(', line "*\tMy Gain\t11\tus\tgain": the name "My Gain" is not a letter followed by letters, digits and underscores')), ...
              refusal(sprintf(', line "*\tGain\t4294967296\tus\tgain": the number "4294967296" is not a whole number from 0 to 4294967295')), ...
              refusal(sprintf(', line "*\tgain\t7\tframes\tgain": the name "gain" is given twice for type *')), ...
              '1000[]|QuorvelML:unknownSetting|Camera 1002: get: camera type 2 has no setting named ''Gain''; ', ...
              'its settings are none (the settings table has no row for it).|', table, ': not a regular file.'], ...
             'a malformed settings table is refused, naming the file and line; a byte-order mark, CR LF line ends and an empty cell are read');
delete(fullfile(folder, 'table*.tsv'));
delete(table);

% Another libQuorvelDrv.so in the folder is used as it stands: every
% operation of this one fails, so the module cannot load its driver.
stubFolder = tempname();
mkdir(stubFolder);
copyfile(fullfile(folder, 'QuorvelML.mex'), stubFolder);
names = regexp(fileread(fullfile(root, 'driver', 'QuorvelDrv.h')), 'X\((drv\w+),', 'tokens');
stub = fullfile(stubFolder, 'stub.c');
file = fopen(stub, 'w');
fprintf(file, 'unsigned %s(void) { return 1; }\n', [names{:}]{:});
fclose(file);
status = system(sprintf('cc -shared -fPIC -o "%s/libQuorvelDrv.so" "%s"', stubFolder, stub));
expect_equal(status, 0, 'a stand-in driver with every operation builds');
[~, output] = octaveIn(stubFolder, 'QuorvelML(''Version'')');
expect_true(~isempty(strfind(output, 'Can not load driver QuorvelML.')), 'the MEX uses the library of the driver''s name beside it');

try
  build_quorvelml('Output');
  printf('not ok - an option without a value is refused: no error\n');
catch err
  expect_equal(err.identifier, 'QuorvelML:buildOption', 'an option without a value is refused');
end
try
  build_quorvelml('Output', tempname(), 'Driver', stubFolder(1:end - 1));
  printf('not ok - a driver folder without the library is refused: no error\n');
catch err
  expect_equal(err.identifier, 'QuorvelML:buildDriver', 'a driver folder without the library is refused');
end
expect_true(rmdir(folder, 's') && rmdir(stubFolder, 's'), 'the built folders are removed whole');

% The CMake build's MEX files, like the script's, search their own folder
% and then the system's library path: a copied folder whose driver was
% removed finds the one installed system-wide, never the build tree's.
for name = {'QuorvelML.mex', 'QuorvelSim.mex'}
  [~, dynamic] = system(sprintf('readelf -d "%s"', fullfile(mexFolder, name{1})));
  paths = regexp(dynamic, 'Library r\w*path: \[[^\]]*\]', 'match');
  expect_true(strcmp(strjoin(paths, ' '), 'Library runpath: [$ORIGIN]'), ...
              sprintf('%s of the build searches only $ORIGIN before the system''s path (%s)', name{1}, strjoin(paths, ' ')));
end

% The package builder's output folder stays out of version control.
[status, ~] = system(sprintf('git -C "%s" rev-parse --is-inside-work-tree', root));
if status == 0
  expect_equal(system(sprintf('git -C "%s" check-ignore -q dist/quorvelml.tar.gz', root)), 0, 'git ignores dist/');
end
