% The examples of `help QuorvelML`, `help QuorvelCamera` and its methods run
% as written.
% An example is the code after "Example:" on a help line, with the lines
% below it indented to the same column as that code:
%       Example:  [status, c] = QuorvelML('ReadGPSTiming', id, 64);
%                 text = char(c(1:find(c == 0, 1) - 1))'
% Each runs in its own octave-cli in a scratch folder, on the simulated
% driver's default cameras, with `id` the camera opened first (1001).
setup = "[~, id] = QuorvelML('OpenCamera', 0);\n";
scratch = tempname();
mkdir(scratch);
% Methods whose names Octave finds as functions first are left out; their
% help cannot be shown by name.
methodTopics = cellfun(@(name) ['QuorvelCamera.' name], methods('QuorvelCamera'), 'UniformOutput', false);
methodTopics = methodTopics(cellfun(@(name) exist(name, 'file') ~= 2, methods('QuorvelCamera')) & ...
                            ~strcmp(methodTopics, 'QuorvelCamera.QuorvelCamera'));
for topic = [{'QuorvelML', 'QuorvelCamera'}, methodTopics(:)']
  lines = strsplit(get_help_text(topic{1}), "\n", 'CollapseDelimiters', false);
  examples = 0;
  for k = 1:numel(lines)
    [column, code] = regexp(lines{k}, '^\s*Example:\s+', 'end', 'split');
    if isempty(column)
      continue;
    end
    code = code(2);
    continuation = ['^ {' num2str(column) '}(?! )'];
    for next = k + 1:numel(lines)
      if isempty(regexp(lines{next}, continuation, 'once'))
        break;
      end
      code{end + 1} = lines{next}(column + 1:end);
    end
    examples = examples + 1;
    [ran, problem] = run_example([setup strjoin(code, "\n")], scratch);
    shown = [code{1} repmat(' ...', 1, numel(code) > 1)];
    expect_true(ran, sprintf('help %s example "%s" runs as written%s', topic{1}, shown, problem));
  end
  if ~any(strcmp(topic{1}, methodTopics))
    expect_true(examples > 0, sprintf('help %s has examples', topic{1}));
  end
end
expect_true(rmdir(scratch, 's'), 'the scratch folder of the examples is removed whole');
