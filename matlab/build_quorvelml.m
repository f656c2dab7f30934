function outputFolder = build_quorvelml(varargin)
  % BUILD_QUORVELML  Builds the QuorvelML MEX file in MATLAB (mex) or Octave (mkoctfile --mex).
  %
  %   build_quorvelml()                     builds into <source>/build-mex with the simulated driver
  %   build_quorvelml('Output', folder)     builds into folder
  %   build_quorvelml('Driver', folder)     links the real driver found in folder instead of
  %                                         building the simulator:
  %                                           Linux:   folder/libQuorvelDrv.so
  %                                           Windows: folder/QuorvelDrv.dll; the import library,
  %                                                    by ordinal, is made from QuorvelDrv.def,
  %                                                    written from driver/QuorvelDrv.h
  %   build_quorvelml('Tiff', folder)       links libtiff installed under folder (headers in
  %                                         folder/include, library in folder/lib, or their
  %                                         multiarch subfolders); 'none' builds without it.
  %                                         By default it is looked for under /usr, /usr/local,
  %                                         /opt/local and /opt/homebrew. Without libtiff the
  %                                         module leaves saving to TIFF out: MemorySaveFrames
  %                                         and MemorySaveSegments raise QuorvelML:savingLeftOut.
  %   build_quorvelml('Verbose', true)      shows the compiler's commands
  %   folder = build_quorvelml(...)         returns the output folder
  %
  %   With the simulated driver the output folder receives libQuorvelDrv.so,
  %   QuorvelML.mex, the simulator's control MEX QuorvelSim.mex, and the
  %   MATLAB-side files (help, the class folder @QuorvelCamera with its
  %   helpers and the commands' bounds written from gateway/CommandTable.cpp
  %   in its private/, quorvelStatusText, and in private/ the status
  %   numbers' table written from common/ResultCodeList.h).
  %   On Linux the MEX files find libQuorvelDrv.so beside them (RUNPATH
  %   $ORIGIN) and then on the system's library path, so a real
  %   libQuorvelDrv.so put in the folder, or installed system-wide with the
  %   simulator's removed, replaces the simulator without a rebuild.
  %
  %   Then: addpath(folder); v = QuorvelML('Version')
  %
  %   See also QuorvelML, QuorvelCamera.

  options = struct('Output', '', 'Driver', 'simulator', 'Tiff', '', 'Verbose', false);
  for k = 1:2:numel(varargin)
    name = varargin{k};
    if ~ischar(name) || ~isfield(options, name) || k == numel(varargin)
      error('QuorvelML:buildOption', 'build_quorvelml takes the options Output, Driver, Tiff and Verbose, each with a value.');
    end
    options.(name) = varargin{k + 1};
  end

  root = fileparts(fileparts(mfilename('fullpath')));
  if isempty(options.Output)
    options.Output = fullfile(root, 'build-mex');
  end
  outputFolder = absolutePath(options.Output);
  if ~exist(outputFolder, 'dir')
    mkdir(outputFolder);
  end
  isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  simulated = strcmp(options.Driver, 'simulator');

  [moduleSources, tiffFolders] = moduleFolders(root);
  simulatorSources = sourcesIn(root, 'simulator');
  simulatorMex = sourcesIn(root, fullfile('simulator', 'mex'));

  if ispc
    if simulated
      error('QuorvelML:buildDriver', ['On Windows build_quorvelml links the real driver: ', ...
            'build_quorvelml(''Driver'', folder holding QuorvelDrv.dll).']);
    end
    driverLink = windowsImportLibrary(root, outputFolder, options.Driver);
    driverFlags = {driverLink};
  else
    if simulated
      buildSimulator(root, outputFolder, simulatorSources, isOctave, options.Verbose);
      driverFolder = outputFolder;
    else
      driverFolder = absolutePath(options.Driver);
      if ~exist(fullfile(driverFolder, 'libQuorvelDrv.so'), 'file')
        error('QuorvelML:buildDriver', 'No libQuorvelDrv.so in %s.', driverFolder);
      end
    end
    driverFlags = {['-L' driverFolder], '-lQuorvelDrv'};
  end

  % Object files go to a scratch folder, never into the source tree.
  scratch = tempname();
  mkdir(scratch);
  cleanup = onCleanup(@() removeFolder(scratch));
  % A folder on the path given relative to here (addpath('matlab')) would
  % be lost from the path, with warnings, once the build changes folder:
  % absolute while the build runs, as it was once it is back.
  here = pwd();
  userPath = path();
  path(absolutePathEntries(userPath));
  back = onCleanup(@() returnTo(here, userPath));
  cd(scratch);

  [tiffSources, tiffFlags] = tiffBuild(root, tiffFolders, options.Tiff);
  exportFlags = {};
  if isOctave && ~ispc
    % mexFunction only, so that nothing loaded with the MEX keeps it from unloading.
    exportFlags = {['-Wl,--version-script=' fullfile(root, 'gateway', 'mexFunction.map')]};
  end
  compileMex(root, outputFolder, 'QuorvelML', [moduleSources, tiffSources], [driverFlags, tiffFlags, exportFlags], ...
             isOctave, options.Verbose);
  if simulated
    compileMex(root, outputFolder, 'QuorvelSim', simulatorMex, ...
               [driverFlags, {['-I' fullfile(root, 'simulator')]}], isOctave, options.Verbose);
    writeSimulatorHelp(root, outputFolder, simulatorMex, isOctave);
  end
  returnTo(here, userPath);

  statusNumbers = readStatusNumbers(root);
  writeStatusTable(statusNumbers, outputFolder);
  [version, statusRows] = fillIns(root, statusNumbers);
  helpers = dir(fullfile(root, 'matlab', '*.m'));
  for k = 1:numel(helpers)
    if ~strcmp(helpers(k).name, 'build_quorvelml.m')  % it builds from the source tree only
      copyFilledIn(fullfile(root, 'matlab', helpers(k).name), fullfile(outputFolder, helpers(k).name), ...
                   version, statusRows);
    end
  end
  copyClassFolder(fullfile(root, 'matlab', '@QuorvelCamera'), fullfile(outputFolder, '@QuorvelCamera'), ...
                  version, statusRows);
  writeCommandBounds(root, outputFolder);
  writeFunctionSignatures(root, outputFolder);
  copyfile(fullfile(root, 'matlab', 'quorvel-settings.tsv'), outputFolder);
  writeErrorIdentifiers(root, outputFolder);
  fprintf('QuorvelML built in %s\n', outputFolder);
end

function writeSimulatorHelp(root, outputFolder, simulatorMex, isOctave)
  % QuorvelSim.m, the help of the QuorvelSim MEX, as the CMake build writes
  % it: tools/simulator_help.cpp, built with the MEX's sources as a program
  % on Octave's libraries, puts the verb table into
  % simulator/mex/QuorvelSim.m.in. MATLAB builds no such program here; its
  % help leaves the table to QuorvelSim('help').
  template = fullfile(root, 'simulator', 'mex', 'QuorvelSim.m.in');
  target = fullfile(outputFolder, 'QuorvelSim.m');
  if ~isOctave
    file = fopen(target, 'w');
    fprintf(file, '%s', strrep(fileread(template), sprintf('@VERB_TABLE@\n'), ...
                              sprintf('%%   QuorvelSim(''help'') lists them.\n%%\n')));
    fclose(file);
    return;
  end
  tool = fullfile(pwd(), 'simulator_help');
  octaveLibraries = strtrim(mkoctfile('-p', 'OCTLIBDIR'));
  previous = getenv('CXXFLAGS');
  restore = onCleanup(@() setenv('CXXFLAGS', previous));
  setenv('CXXFLAGS', '-std=c++17 -O0');  % it runs once: compiled fast, not run fast
  [output, status] = mkoctfile('--link-stand-alone', '-o', tool, ['-I' root], ['-I' fullfile(root, 'simulator')], ...
                               fullfile(root, 'tools', 'simulator_help.cpp'), simulatorMex{:}, ...
                               ['-L' outputFolder], '-lQuorvelDrv', ['-Wl,-rpath,' outputFolder], ...
                               ['-Wl,-rpath,' octaveLibraries]);
  if status == 0
    [status, output] = system(sprintf('"%s" "%s" > "%s"', tool, template, target));
  end
  if status ~= 0
    error('QuorvelML:buildFailed', 'Writing the help of QuorvelSim failed:\n%s', output);
  end
end

function copyClassFolder(source, target, version, statusRows)
  % The class folder afresh, so that a method gone from the source goes from
  % the build too; a class file of an older build would stand beside it.
  removeFolder(target);
  stale = fullfile(fileparts(target), 'QuorvelCamera.m');
  if exist(stale, 'file')
    delete(stale);
  end
  mkdir(fullfile(target, 'private'));
  for part = {'', 'private'}
    files = dir(fullfile(source, part{1}, '*.m'));
    for k = 1:numel(files)
      copyFilledIn(fullfile(source, part{1}, files(k).name), fullfile(target, part{1}, files(k).name), ...
                   version, statusRows);
    end
  end
end

function files = sourcesIn(root, folder)
  listing = dir(fullfile(root, folder, '*.cpp'));
  files = cellfun(@(name) fullfile(root, folder, name), {listing.name}, 'UniformOutput', false);
end

function [sources, tiffFolders] = moduleFolders(root)
  % The module's sources from the folders that layers.txt lists, but for
  % the folders that need libtiff, which come back apart, and the Python
  % host's, which is no part of a MEX file.
  sources = {};
  tiffFolders = {};
  lines = regexp(fileread(fullfile(root, 'layers.txt')), '^([a-z][^\s]*)[ \t]*(\S*)', 'tokens', 'lineanchors');
  for k = 1:numel(lines)
    [folder, needs] = lines{k}{:};
    if strcmp(needs, 'tiff')
      tiffFolders{end + 1} = folder;
    elseif ~strcmp(needs, 'python')
      sources = [sources, sourcesIn(root, folder)];
    end
  end
end

function [sources, flags] = tiffBuild(root, tiffFolders, folder)
  % The sources and flags of saving to TIFF: none when libtiff is left out
  % or, looked for by default, not found.
  sources = {};
  flags = {};
  if strcmp(folder, 'none')
    return;
  end
  prefixes = {folder};
  if isempty(folder)
    prefixes = {'/usr', '/usr/local', '/opt/local', '/opt/homebrew'};
  end
  for k = 1:numel(prefixes)
    include = firstFolderWith(fullfile(prefixes{k}, 'include'), 'tiffio.h');
    library = firstFolderWith(fullfile(prefixes{k}, 'lib'), {'libtiff.so', 'libtiff.dylib', 'tiff.lib', 'libtiff.a'});
    if ~isempty(include) && ~isempty(library)
      sources = cellfun(@(part) sourcesIn(root, part), tiffFolders, 'UniformOutput', false);
      sources = [sources{:}];
      flags = {['-I' include], '-DQUORVEL_WITH_TIFF', ['-L' library], '-ltiff'};
      return;
    end
  end
  if ~isempty(folder)
    error('QuorvelML:buildTiff', 'No libtiff (include/tiffio.h and lib/libtiff) under %s.', folder);
  end
  fprintf('build_quorvelml: libtiff not found; saving to TIFF is left out.\n');
end

function found = firstFolderWith(folder, names)
  % folder, or one of its subfolders (multiarch), when it holds one of names.
  found = '';
  subfolders = dir(fullfile(folder, '*-*'));
  candidates = [{folder}, cellfun(@(name) fullfile(folder, name), {subfolders.name}, 'UniformOutput', false)];
  for c = 1:numel(candidates)
    if any(cellfun(@(name) exist(fullfile(candidates{c}, name), 'file') == 2, cellstr(names)))
      found = candidates{c};
      return;
    end
  end
end

function entries = readStatusNumbers(root)
  % Every status number of common/ResultCodeList.h: {number, name, meaning}.
  entries = regexp(fileread(fullfile(root, 'common', 'ResultCodeList.h')), ...
                   '\nQUORVEL_RESULT\((\d+),\s*(\w+),\s*"([^"]*)"\)', 'tokens');
end

function writeStatusTable(entries, outputFolder)
  % The status numbers' names and meanings that quorvelStatusText and
  % QuorvelCamera.statusName read, written into a private folder with the
  % same bytes as the CMake build's tools/status_table.cpp.
  folder = fullfile(outputFolder, 'private');
  if ~exist(folder, 'dir')
    mkdir(folder);
  end
  file = fopen(fullfile(folder, 'quorvelStatusTable.m'), 'w');
  fprintf(file, ['function table = quorvelStatusTable()\n', ...
                 '  %% Every QuorvelML status number: number, error name, meaning. Written at\n', ...
                 '  %% build time from common/ResultCodeList.h; change that list, not this file.\n', ...
                 '  table = {\n']);
  for k = 1:numel(entries)
    [number, name, meaning] = entries{k}{:};
    fprintf(file, '    %s, ''%s%s'', ''%s''\n', number, lower(name(1)), name(2:end), strrep(meaning, '''', ''''''));
  end
  fprintf(file, '  };\nend\n');
  fclose(file);
end

function [version, rows] = fillIns(root, entries)
  % The version text of gateway/ModuleVersion.h, and the rows of help
  % QuorvelML's status numbers.
  version = regexp(fileread(fullfile(root, 'gateway', 'ModuleVersion.h')), 'kVersionText = "([^"]*)"', 'tokens', 'once');
  version = version{1};
  rows = '';
  for k = 1:numel(entries)
    rows = [rows, helpRow(entries{k}{1}, entries{k}{3})];
  end
end

function copyFilledIn(source, output, version, rows)
  % A MATLAB file with the version text in place of @QUORVEL_VERSION@ and
  % the status numbers in place of the line holding @QUORVEL_STATUS_NUMBERS@:
  % the bytes of the CMake build's tools/matlab_file.cmake.
  text = strrep(fileread(source), '@QUORVEL_VERSION@', version);
  text = strrep(text, sprintf('%%   @QUORVEL_STATUS_NUMBERS@\n'), rows);
  file = fopen(output, 'w');
  fwrite(file, text);
  fclose(file);
end

function row = helpRow(number, meaning)
  % '%     7  meaning', wrapped at word breaks into lines of at most 76
  % characters, further lines indented under the first.
  row = wrapWords(meaning, sprintf('%%%6s  ', number), '%        ', 76);
end

function wrapped = wrapWords(text, firstLead, nextLead, width)
  % The words of text on lines of at most width characters, the first behind
  % firstLead and the others behind nextLead, each line ending in a newline:
  % the bytes of the CMake build's tools/WrapWords.h.
  words = strsplit(strtrim(text), ' ');
  wrapped = '';
  line = [firstLead, words{1}];
  for k = 2:numel(words)
    if numel(line) + 1 + numel(words{k}) > width
      wrapped = [wrapped, line, sprintf('\n')];
      line = [nextLead, words{k}];
    else
      line = [line, ' ', words{k}];
    end
  end
  wrapped = [wrapped, line, sprintf('\n')];
end

function writeCommandBounds(root, outputFolder)
  % The largest value of each bounded input, by keyword, from the rows of
  % gateway/CommandTable.cpp, with the same bytes as the CMake build's
  % tools/command_bounds.cpp.
  rows = regexp(fileread(fullfile(root, 'gateway', 'CommandTable.cpp')), ...
                '\{"(\w+)",[^{}]*?(?:atMostFrames|lengthUpTo)\(\d+,\s*(\d+)\)\}', 'tokens');
  file = fopen(fullfile(outputFolder, '@QuorvelCamera', 'private', 'quorvelCommandBounds.m'), 'w');
  fprintf(file, ['function bounds = quorvelCommandBounds()\n', ...
                 '  %% The largest value of each QuorvelML command''s bounded input, by keyword.\n', ...
                 '  %% Written at build time from gateway/CommandTable.cpp; change the table,\n', ...
                 '  %% not this file.\n', ...
                 '  bounds = struct();\n']);
  for k = 1:numel(rows)
    fprintf(file, '  bounds.%s = %s;\n', rows{k}{:});
  end
  fprintf(file, 'end\n');
  fclose(file);
end

function writeFunctionSignatures(root, outputFolder)
  % MATLAB's tab completion, functionSignatures.json: an alternative per
  % row of gateway/CommandTable.cpp, then the class's members from
  % matlab/QuorvelCamera.signatures.json, with the same bytes as the CMake
  % build's tools/function_signatures.cpp.
  rows = regexp(fileread(fullfile(root, 'gateway', 'CommandTable.cpp')), ...
                '\{"(\w+)", INPUTS\("\w+"\), "([A-Z]*)", "([^"]*)"', 'tokens');
  text = sprintf('{\n  "_schemaVersion": "1.0.0",\n  "QuorvelML": {\n    "inputs": [\n      {"mutuallyExclusiveGroup": [\n');
  argument = '          {"name": "%s", "kind": "required", "type": %s}%s\n';
  for k = 1:numel(rows)
    [keyword, kinds, names] = rows{k}{:};
    names = strsplit(names, ', ');
    text = [text, sprintf('        [\n'), sprintf(argument, 'keyword', ...
            sprintf('["char", "choices={''%s''}"]', keyword), repmat(',', 1, ~isempty(kinds)))];
    for n = 1:numel(kinds)
      type = '["numeric", "scalar"]';
      if any(kinds(n) == 'TF')  % text, or a file name
        type = '["char"]';
      end
      text = [text, sprintf(argument, names{n}, type, repmat(',', 1, n < numel(kinds)))];
    end
    text = [text, sprintf('        ]%s\n', repmat(',', 1, k < numel(rows)))];
  end
  members = fileread(fullfile(root, 'matlab', 'QuorvelCamera.signatures.json'));
  members = members(find(members == '{', 1) + 1:find(members == '}', 1, 'last') - 1);
  text = [text, sprintf('      ]}\n    ]\n  },%s\n}\n', members)];
  file = fopen(fullfile(outputFolder, 'functionSignatures.json'), 'w');
  fprintf(file, '%s', text);
  fclose(file);
end

function writeErrorIdentifiers(root, outputFolder)
  % The help file's line holding <ERROR_IDENTIFIERS> (in the copy whose
  % version and status numbers are already filled in), written out with the
  % call errors of gateway/ErrorIdentifierList.h and filled to 75 columns,
  % with the same bytes as the CMake build's tools/error_identifiers.cpp.
  entries = regexp(fileread(fullfile(root, 'gateway', 'ErrorIdentifierList.h')), ...
                   '\nQUORVEL_CALL_ERROR\(\w+,\s*"([^"]*)",\s*"([^"]*)"\)', 'tokens');
  items = cell(1, numel(entries));
  for k = 1:numel(entries)
    [identifier, note] = entries{k}{:};
    items{k} = identifier;
    if ~isempty(note)
      items{k} = sprintf('%s (%s)', identifier, note);
    end
  end
  lines = strsplit(fileread(fullfile(outputFolder, 'QuorvelML.m')), "\n", 'CollapseDelimiters', false);
  at = find(~cellfun(@isempty, strfind(lines, '<ERROR_IDENTIFIERS>')), 1);
  lead = regexp(lines{at}, '^[% ]*', 'match', 'once');
  filled = wrapWords(strrep(lines{at}(numel(lead) + 1:end), '<ERROR_IDENTIFIERS>', strjoin(items, ', ')), ...
                     lead, lead, 75);
  lines = [lines(1:at - 1), {filled(1:end - 1)}, lines(at + 1:end)];
  file = fopen(fullfile(outputFolder, 'QuorvelML.m'), 'w');
  fwrite(file, strjoin(lines, "\n"));
  fclose(file);
end

function path = absolutePath(path)
  if ~(numel(path) > 0 && (path(1) == '/' || path(1) == '\' || (numel(path) > 1 && path(2) == ':')))
    path = fullfile(pwd(), path);
  end
end

function entries = absolutePathEntries(entries)
  parts = strsplit(entries, pathsep());
  relative = ~cellfun(@(part) isempty(part) || part(1) == filesep() || any(part == ':'), parts);
  parts(relative) = cellfun(@(part) fullfile(pwd(), part), parts(relative), 'UniformOutput', false);
  entries = strjoin(parts, pathsep());
end

function returnTo(folder, entries)
  cd(folder);
  path(entries);
end

function removeFolder(folder)
  if exist(folder, 'dir')
    rmdir(folder, 's');
  end
end

function compileMex(root, outputFolder, name, sources, extraFlags, isOctave, verbose)
  % The MEX file name, the module's include root and the driver; the
  % RUNPATH $ORIGIN makes the MEX look for the driver in its own folder
  % first. Its $ is escaped for each shell on the way to the linker: mex
  % runs one, Octave's mkoctfile two (its own and the mkoctfile script's).
  if isOctave
    flags = {'--mex', '-o', fullfile(outputFolder, [name '.mex']), ['-I' root], ...
             '-Wl,-rpath,\\\$ORIGIN', '-Wl,--enable-new-dtags'};
    if verbose
      flags{end + 1} = '--verbose';
    end
    previous = getenv('CXXFLAGS');
    restore = onCleanup(@() setenv('CXXFLAGS', previous));
    setenv('CXXFLAGS', [strtrim(mkoctfile('-p', 'CXXFLAGS')) ' -std=c++17 -O2 -pthread']);
    [output, status] = mkoctfile(flags{:}, extraFlags{:}, sources{:});
    if status ~= 0
      error('QuorvelML:buildFailed', 'Building %s failed:\n%s', name, output);
    end
  else
    flags = {'-compatibleArrayDims', '-outdir', outputFolder, '-output', name, ['-I' root]};
    if verbose
      flags{end + 1} = '-v';
    end
    if ~ispc
      flags = [flags, {'CXXFLAGS=$CXXFLAGS -std=c++17 -pthread', ...
                       'LDFLAGS=$LDFLAGS -pthread -Wl,-rpath,\$ORIGIN -Wl,--enable-new-dtags'}];
    end
    mex(flags{:}, extraFlags{:}, sources{:});
  end
end

function buildSimulator(root, outputFolder, sources, isOctave, verbose)
  % The simulated driver as libQuorvelDrv.so, the name the MEX links.
  if isOctave
    compiler = strtrim(mkoctfile('-p', 'CXX'));
  else
    compiler = 'g++';
  end
  quoted = cellfun(@(file) ['"' file '"'], sources, 'UniformOutput', false);
  command = sprintf(['%s -std=c++17 -O2 -fPIC -shared -pthread -DQUORVEL_DRV_BUILDING -I"%s" -I"%s" ', ...
                     '-Wl,-soname,libQuorvelDrv.so -o "%s" %s'], ...
                    compiler, root, fullfile(root, 'simulator'), fullfile(outputFolder, 'libQuorvelDrv.so'), ...
                    strjoin(quoted, ' '));
  if verbose
    disp(command);
  end
  [status, output] = system(command);
  if status ~= 0
    error('QuorvelML:buildFailed', 'Building the simulated driver failed:\n%s', output);
  end
end

function library = windowsImportLibrary(root, outputFolder, driverFolder)
  % Windows imports every driver operation by the ordinal that
  % QUORVEL_DRV_OPERATIONS in driver/QuorvelDrv.h gives it; the import
  % library is made from QuorvelDrv.def, written here from that list with
  % the bytes of the CMake build's tools/driver_def.cpp, with the Microsoft
  % librarian, or with dlltool for MinGW.
  if ~exist(fullfile(driverFolder, 'QuorvelDrv.dll'), 'file')
    error('QuorvelML:buildDriver', 'No QuorvelDrv.dll in %s.', driverFolder);
  end
  def = fullfile(outputFolder, 'QuorvelDrv.def');
  writeDriverDef(root, def);
  library = fullfile(outputFolder, 'QuorvelDrv.lib');
  status = system(sprintf('lib /nologo /def:"%s" /out:"%s" /machine:x64', def, library));
  if status ~= 0
    status = system(sprintf('dlltool -d "%s" -l "%s"', def, library));
  end
  if status ~= 0
    error('QuorvelML:buildDriver', 'Neither lib nor dlltool could make the import library from %s.', def);
  end
  copyfile(fullfile(driverFolder, 'QuorvelDrv.dll'), outputFolder);
end

function writeDriverDef(root, def)
  operations = regexp(fileread(fullfile(root, 'driver', 'QuorvelDrv.h')), 'X\((drv\w+),\s*(\d+)\)', 'tokens');
  file = fopen(def, 'w');
  fprintf(file, ['; Exports of the camera driver library QuorvelDrv with the ordinals by\n', ...
                 '; which the module imports them, written from driver/QuorvelDrv.h. A\n', ...
                 '; Windows build makes the import library from this file\n', ...
                 '; (lib /def:QuorvelDrv.def /out:QuorvelDrv.lib /machine:x64); NONAME\n', ...
                 '; makes every import go by ordinal, never by name.\n', ...
                 'LIBRARY QuorvelDrv\nEXPORTS\n']);
  for k = 1:numel(operations)
    fprintf(file, '    %-28s @%s NONAME\n', operations{k}{:});
  end
  fclose(file);
end
