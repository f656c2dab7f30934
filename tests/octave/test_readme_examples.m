% Every ```matlab block of README.md and docs/*.md runs as written: each
% in its own octave-cli started in the repository's top folder, with the
% built MEX folder on the path and the simulated driver on its default
% cameras, nothing open. Any error fails the block, named by its file and
% line.
%
% A block that assumes variables (an open camera's id, a file name, numbers
% that belong to the driver) declares them in an HTML comment on the line
% just before its fence, on one line. The comment is not shown when the
% document is rendered; its code runs first, in the block's workspace:
%   <!-- example setup: [~, id] = QuorvelML('OpenCamera', 1001); a = 0; -->
% A matlab block that cannot run here (it needs a real driver, or Windows)
% says why in the same place, and is reported as skipped:
%   <!-- example not run: needs a real driver -->
% Only blocks fenced as matlab run; shell commands, C++ and other text keep
% their own fence language (sh, cpp, text) and are never run.
root = fileparts(fileparts(fileparts(which('expect_equal'))));
documents = dir(fullfile(root, 'docs', '*.md'));
blocks = 0;
for file = [{'README.md'}, strcat('docs/', {documents.name})]
  lines = strsplit(fileread(fullfile(root, file{1})), "\n", 'CollapseDelimiters', false);
  starts = find(~cellfun(@isempty, regexp(lines, '^ *```matlab\s*$', 'once')));
  ends = find(~cellfun(@isempty, regexp(lines, '^ *```\s*$', 'once')));
  blocks = blocks + numel(starts);
  for first = starts
    indent = regexp(lines{first}, '```', 'once') - 1;
    code = regexprep(lines(first + 1:ends(find(ends > first, 1)) - 1), sprintf('^ {0,%d}', indent), '');
    name = sprintf('%s line %d (%s)', file{1}, first, strtrim(code{1}));
    note = regexp(lines{max(first - 1, 1)}, '^\s*<!-- example (setup|not run):(.*)-->\s*$', 'tokens', 'once');
    if isempty(note)
      note = {'setup', ''};
    elseif strcmp(note{1}, 'not run')
      printf('ok - %s # skip: %s\n', name, strtrim(note{2}));
      continue;
    end
    [ran, problem, left] = run_example(sprintf('%s\n%s\n', note{2}, strjoin(code, "\n")), root);
    expect_true(ran, [name ' runs as written' problem]);
    % A newcomer runs the examples as they stand: each cleans up after itself.
    expect_true(isempty(left), [name ' leaves no file in the temporary folder' sprintf(' %s', left{:})]);
  end
end
expect_true(numel(documents) > 0 && blocks > 0, 'README.md and docs/ have matlab blocks');
