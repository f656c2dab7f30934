% Every ```matlab block of README.md runs as written: each in its own
% octave-cli started in the repository's top folder, with the built MEX
% folder on the path and the simulated driver on its default cameras,
% nothing open. Any error fails the block, named by its line.
%
% A block that assumes variables (an open camera's id, a file name, numbers
% that belong to the driver) declares them in an HTML comment on the line
% just before its fence. The comment is not shown when the README is
% rendered; its code runs first, in the block's workspace:
%   <!-- example setup: [~, id] = QuorvelML('OpenCamera', 1001); a = 0; -->
% A matlab block that cannot run here (it needs a real driver, or Windows)
% says why in the same place, and is reported as skipped:
%   <!-- example not run: needs a real driver -->
% Only blocks fenced as matlab run; shell commands, C++ and other text keep
% their own fence language (sh, cpp, text) and are never run.
root = fileparts(fileparts(fileparts(which('expect_equal'))));
lines = strsplit(fileread(fullfile(root, 'README.md')), "\n", 'CollapseDelimiters', false);
blocks = 0;
k = 1;
while k <= numel(lines)
  if isempty(regexp(lines{k}, '^ *```matlab\s*$', 'once'))
    k = k + 1;
    continue;
  end
  first = k;
  last = first + 1;
  while last <= numel(lines) && isempty(regexp(lines{last}, '^\s*```\s*$', 'once'))
    last = last + 1;
  end
  indent = regexp(lines{first}, '```', 'once') - 1;
  code = regexprep(lines(first + 1:last - 1), sprintf('^ {0,%d}', indent), '');
  k = last + 1;
  blocks = blocks + 1;
  name = sprintf('README.md line %d (%s)', first, strtrim(code{1}));

  note = '';
  if first > 1 && ~isempty(regexp(lines{first - 1}, '-->\s*$', 'once'))
    opening = first - 1;
    while opening > 1 && isempty(strfind(lines{opening}, '<!--'))
      opening = opening - 1;
    end
    note = regexp(strjoin(lines(opening:first - 1), "\n"), '<!--\s*example (setup|not run):(.*?)-->', 'tokens', 'once');
  end
  setup = '';
  if ~isempty(note) && strcmp(note{1}, 'not run')
    printf('ok - %s # skip: %s\n', name, strtrim(note{2}));
    continue;
  elseif ~isempty(note)
    setup = note{2};
  end
  [ran, problem] = run_example(sprintf('%s\n%s\n', setup, strjoin(code, "\n")), root);
  expect_true(ran, [name ' runs as written' problem]);
end
expect_true(blocks > 0, 'README.md has matlab blocks');
