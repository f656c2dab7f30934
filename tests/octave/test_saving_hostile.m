% Saving and reading back as a careless or hostile user would: files whose
% first page is dark or grey, a 1 x 1 frame, descriptions of the wrong
% kind, pages of two sizes, no page, no TIFF, page numbers that are none;
% options that are no true or false; a replace that saves nothing; two
% processes saving to one file at once.
1;

function [identifier, message] = errorOf(call)
  identifier = '';
  message = '';
  try
    call();
  catch err
    identifier = err.identifier;
    message = err.message;
  end
end

function writeTiff(file, python)
  % The pages python writes with tifffile as `tif` (np is numpy), each
  % page's description as given, none of tifffile's own.
  script = [tempname() '.py'];
  handle = fopen(script, 'w');
  fprintf(handle, ['import sys, numpy as np, tifffile\n', ...
                   'with tifffile.TiffWriter(sys.argv[1]) as tif:\n    %s\n'], ...
          strrep(strrep(python, '\n', char(10)), char(10), [char(10) '    ']));
  fclose(handle);
  [status, output] = system(sprintf('/usr/bin/python3 "%s" "%s" 2>&1', script, file));
  delete(script);
  if status ~= 0
    error('test:python', '%s', output);
  end
end

function python = pageWrites(arrays, descriptions)
  python = '';
  for k = 1:numel(arrays)
    python = [python sprintf('tif.write(%s, description=''%s'', metadata=None, photometric=''%s'')\n', ...
                             arrays{k}, descriptions{k}, 'minisblack')];
  end
end

function patchFirstPage(file, tag, count, value, type)
  % Sets the value count and value (and type, when given) of a tag in the
  % first page of a little-endian TIFF, or with tag 0 the page's entry count.
  handle = fopen(file, 'r+');
  fseek(handle, 2, 'bof');
  big = fread(handle, 1, 'uint16') == 43;
  words = {'uint32', 'uint64'};
  counts = {'uint16', 'uint64'};
  fseek(handle, 4 + 4 * big, 'bof');
  directory = fread(handle, 1, words{big + 1});
  fseek(handle, directory, 'bof');
  if tag == 0
    fwrite(handle, count, counts{big + 1});
  end
  entries = fread(handle, 1, counts{big + 1});
  for k = 1:entries * (tag ~= 0)
    entry = directory + 2 + 6 * big + (k - 1) * (12 + 8 * big);
    fseek(handle, entry, 'bof');
    if fread(handle, 1, 'uint16') == tag
      if nargin > 4
        fwrite(handle, type, 'uint16');
      end
      fseek(handle, entry + 4, 'bof');
      fwrite(handle, [count value], words{big + 1});
    end
  end
  fclose(handle);
end

file = [tempname() '.tif'];
origin = '{"position":%d,"segment":null,"triggerIndex":null}';

% The class and shape come from the pages' sample size and count.
writeTiff(file, pageWrites({'np.zeros((3, 4), np.uint8)', 'np.arange(12, dtype=np.uint8).reshape(3, 4) * 20'}, ...
                           {sprintf(origin, 0), sprintf(origin, 1)}));
[frames, info] = quorvelReadFrames(file);
expect_true(isequal({class(frames), size(frames), frames(:, :, 2)}, {'uint8', [3 4 2], uint8(reshape(0:11, 4, 3)' * 20)}), ...
            'a mono stack whose first page is dark keeps its class and values');
expect_equal(info.Position, [0 1], 'and each page its position');
writeTiff(file, ['grey = np.full((2, 5, 3), 300, np.uint16)\n', ...
                 'tif.write(grey, description=''' sprintf(origin, 4) ''', metadata=None, photometric=''rgb'')\n', ...
                 'tif.write(np.arange(30, dtype=np.uint16).reshape(2, 5, 3) * 999, description=''' ...
                 sprintf(origin, 5) ''', metadata=None, photometric=''rgb'')']);
frames = quorvelReadFrames(file);
expect_true(isequal({class(frames), size(frames), frames(2, 5, 3, 2)}, {'uint16', [2 5 3 2], uint16(29 * 999)}), ...
            'a colour stack whose first page is grey keeps its planes');
writeTiff(file, pageWrites({'np.full((1, 1), 200, np.uint8)'}, {sprintf(origin, 9)}));
expect_true(isequal(quorvelReadFrames(file), uint8(200)), 'a 1 x 1 mono frame reads back');

% Descriptions that do not describe a frame.
hostile = {'{"position":"5","segment":null,"triggerIndex":null}', '{"position":true,"segment":null,"triggerIndex":null}', ...
           '{"position":1.5,"segment":null,"triggerIndex":null}', '[1,2,3]', '{"position":', '{"segment":null}', '', ...
           '{"position":-3,"segment":null,"triggerIndex":null}', '{"position":null,"segment":-1,"triggerIndex":null}'};
for k = 1:numel(hostile)
  writeTiff(file, pageWrites({'np.zeros((2, 2), np.uint8)', 'np.zeros((2, 2), np.uint8)'}, ...
                             {sprintf(origin, 0), hostile{k}}));
  [identifier, message] = errorOf(@() quorvelReadFrames(file));
  expect_true(strcmp(identifier, 'QuorvelML:pageDescription') && ~isempty(strfind(message, file)) && ...
              ~isempty(strfind(message, 'Page 2')), ['the description ' hostile{k} ' is refused naming file and page']);
end

% Files that hold no stack of saved frames.
writeTiff(file, pageWrites({'np.zeros((2, 2), np.uint8)', 'np.zeros((3, 2), np.uint8)'}, ...
                           {sprintf(origin, 0), sprintf(origin, 1)}));
[identifier, message] = errorOf(@() quorvelReadFrames(file));
expect_true(strcmp(identifier, 'QuorvelML:fileFormat') && ~isempty(strfind(message, 'Page 2')), ...
            'pages of two sizes are refused');
writeTiff(file, pageWrites({'np.zeros((2, 2), np.int16)'}, {sprintf(origin, 0)}));
expect_equal(errorOf(@() quorvelReadFrames(file)), 'QuorvelML:fileFormat', 'signed samples are refused');
handle = fopen(file, 'w');
fwrite(handle, uint8([73 73 42 0 0 0 0 0]));  % a header linking no page
fclose(handle);
expect_equal(errorOf(@() quorvelReadFrames(file)), 'QuorvelML:fileFormat', 'a TIFF without pages is refused');
handle = fopen(file, 'w');
fprintf(handle, 'my notes');
fclose(handle);
[identifier, message] = errorOf(@() quorvelReadFrames(file));
expect_true(strcmp(identifier, 'QuorvelML:fileFormat') && ~isempty(strfind(message, file)), 'a text file is refused');
expect_equal(errorOf(@() quorvelReadFrames([file 'none'])), 'QuorvelML:fileOpen', 'a missing file is refused');

% Directories no save writes: each refused before anything of their size
% is taken, a hostile one in a child that is killed should it hang.
patches = {{256, 2, 2}, {277, 2, 1}, {256, 1, 2, 0}, {256, 1, 0}, {256, 1, 2^31}, {257, 1, 4}};
for k = 1:numel(patches)
  writeTiff(file, pageWrites({'np.zeros((2, 2), np.uint8)'}, {sprintf(origin, 0)}));
  patchFirstPage(file, patches{k}{:});
  [identifier, message] = errorOf(@() quorvelReadFrames(file));
  expect_true(strcmp(identifier, 'QuorvelML:fileFormat') && ~isempty(strfind(message, 'Page 1')), ...
              sprintf('a page patched as %s is refused as no saved page', mat2str([patches{k}{:}])));
end
hostileFiles = {[file '.entries'], [file '.size'], [file '.fifo']};
system(sprintf('/usr/bin/python3 -c "import numpy, tifffile; tifffile.imwrite(''%s'', numpy.zeros((2, 2), numpy.uint8), bigtiff=True)"', ...
               hostileFiles{1}));
patchFirstPage(hostileFiles{1}, 0, 2^60);
writeTiff(hostileFiles{2}, pageWrites({'np.zeros((2, 2), np.uint8)'}, {sprintf(origin, 0)}));
patchFirstPage(hostileFiles{2}, 256, 1, 100000);
patchFirstPage(hostileFiles{2}, 257, 1, 100000);
system(['mkfifo ' hostileFiles{3}]);
[~, output] = system(sprintf(['timeout -s KILL 60 octave-cli --norc --eval "addpath(''%s''); ', ...
                              'for f = {''%s'', ''%s'', ''%s''}, try, quorvelReadFrames(f{1}); catch e, disp(e.identifier), end, end" 2>&1'], ...
                             fileparts(which('quorvelReadFrames')), hostileFiles{:}));
expect_equal(regexp(output, 'QuorvelML:\w+', 'match'), {'QuorvelML:fileFormat', 'QuorvelML:fileFormat', 'QuorvelML:fileOpen'}, ...
             'a page of 2^60 entries, one larger than its file and a FIFO are refused in time');
delete(hostileFiles{:});

writeTiff(file, pageWrites({'np.zeros((2, 2), np.uint8)'}, {sprintf(origin, 0)}));
badPages = {[], 1 + 1i, 0, 2, 1.5, NaN, true, 'a'};
for k = 1:numel(badPages)
  expect_equal(errorOf(@() quorvelReadFrames(file, badPages{k})), 'QuorvelML:badPage', ...
               sprintf('bad page numbers %d of %d are refused', k, numel(badPages)));
end

% Options and replacing through the class.
QuorvelSim('reset');
cam = QuorvelCamera(1001);
cam.Width = 16;
cam.Height = 4;
cam.startRecording(6, 0, 0, 6);
cam.wait(5);
cam.stopRecording();
cam.saveFrames(file, 0:3, 'Overwrite', true);
handle = fopen(file);
before = fread(handle, Inf, '*uint8');
fclose(handle);
for value = {'no', NaN, [], 2, [true true]}
  expect_equal(errorOf(@() cam.saveFrames(file, 0:1, 'Overwrite', value{1})), 'QuorvelML:saveOption', ...
               'Overwrite takes true or false only');
end
expect_equal(errorOf(@() cam.saveFrames(file, 100:101, 'Overwrite', true)), 'QuorvelML:readFailed', ...
             'a replace of frames never recorded fails');
handle = fopen(file);
expect_true(isequal(fread(handle, Inf, '*uint8'), before), 'and leaves the file byte for byte');
fclose(handle);
expect_equal(errorOf(@() cam.saveFrames(['a'; 'b'], 0:1)), 'QuorvelML:notText', 'a name of two rows is refused');
lastwarn('');
expect_equal(errorOf(@() cam.saveFrames(file, 0:1, ['Overwrite'; 'Overwrite'], true)), 'QuorvelML:saveOption', ...
             'an option name of two rows is refused');
expect_equal(lastwarn(), '', 'without a warning');
empty = [tempname() '.tif'];
[~, message] = errorOf(@() cam.saveFrames(empty, []));
expect_equal(message, 'Camera 1001: saveFrames takes at least one position; none were given, and no file is written.', ...
             'saving no frame is refused');
[~, message] = errorOf(@() cam.saveSegments(empty, zeros(1, 0)));
expect_equal({message, exist(empty, 'file')}, {['Camera 1001: saveSegments takes at least one segment number; ', ...
             'none were given, and no file is written.'], 0}, 'so is saving no segment, and neither writes a file');
expect_equal(errorOf(@() QuorvelML('MemorySaveFrames', cam.Id, file, 0, 1, 1 + 1i, 0)), 'QuorvelML:inputValue', ...
             'a complex mode is refused');
clear cam

% Two processes saving to one file at once: each either saves every frame
% or is refused; the file holds one save's frames, each as its page says.
here = fileparts(which('QuorvelML'));
script = [tempname() '.m'];
handle = fopen(script, 'w');
fprintf(handle, ['addpath(''%s''); QuorvelSim(''reset''); QuorvelSim(''setMemory'', 1001, 64, 1000); ', ...
                 'c = QuorvelCamera(1001); c.Width = 64; c.Height = 32; c.startRecording(40, 0, 0, 40); ', ...
                 'c.wait(5); c.stopRecording(); ', ...
                 'try, i = c.saveFrames(''%s'', repmat(0:39, 1, 5), ''Overwrite'', true, ''Progress'', false); printf(''saved %%d\\n'', numel(i.Position)); ', ...
                 'catch e, printf(''refused %%s\\n'', e.identifier); end\n'], here, file);
fclose(handle);
[~, output] = system(sprintf('timeout 300 bash -c ''octave-cli --norc "%s" & octave-cli --norc "%s"; wait'' 2>&1', ...
                             script, script));
delete(script);
outcomes = regexp(output, '^(saved 200|refused QuorvelML:fileBusy)$', 'match', 'lineanchors');
expect_true(numel(outcomes) == 2, ['each save saves all or is refused as busy' repmat([': ' output], 1, numel(outcomes) ~= 2)]);
[frames, info] = quorvelReadFrames(file);
QuorvelSim('reset');
QuorvelSim('setMemory', 1001, 64, 1000);
cam = QuorvelCamera(1001);
cam.Width = 64;
cam.Height = 32;
cam.startRecording(40, 0, 0, 40);
cam.wait(5);
cam.stopRecording();
% Both may be refused: one's append finds the other's replacement and is
% refused while holding the lock the other's next call then finds taken.
% The file then holds the first calls of the save that replaced it last.
saidSaved = any(strcmp(outcomes, 'saved 200'));
planned = repmat(0:39, 1, 5);
kept = numel(info.Position);
expect_true(kept >= 1 && isequal(info.Position(:)', planned(1:kept)) && (~saidSaved || kept == 200) && ...
            isequal(frames, cam.readFrames(info.Position, false)), ...
            'the file holds the first frames of one save, each as its page says, all of a save that succeeded');
clear cam
delete(file);
