% The help examples of the MATLAB files, run by octave-doctest on the
% simulated cameras: every example passes, and every public function and
% method has one. Octave shows its own function for `help
% QuorvelCamera.<name>` where one of that name exists (close, delete, info,
% version), so the class's help runs those methods. Ends in one line:
% "doctest: N of M examples passed" with "every function and method has an
% example", or what is missing.
pkg load doctest
[passed, total, summary] = doctest({'QuorvelML', 'QuorvelCamera', 'quorvelStatusText', 'QuorvelSim'}, '-verbose');
classHelp = get_help_text('QuorvelCamera');
names = public_methods('QuorvelCamera');
names = names(~strcmp(names, 'QuorvelCamera'));
hidden = names(cellfun(@(name) isempty(strfind(get_help_text(['QuorvelCamera.' name]), '>> ')), names));
missing = hidden(cellfun(@(name) isempty(regexp(classHelp, ['>> [^\n]*\<' name '\('], 'once')), hidden));
% Each function's help holds its examples (the class's private helpers need none).
for name = {'QuorvelML', 'quorvelStatusText', 'QuorvelSim'}
  if isempty(strfind(get_help_text(name{1}), '>> '))
    missing{end + 1} = name{1};
  end
end
printf('doctest: %d of %d examples passed; ', passed, total);
if isempty(missing) && total > 0
  printf('every function and method has an example\n');
else
  printf('no example of %s\n', strjoin(missing, ', '));
end
