function [ran, problem, left] = run_example(code, folder)
  % Runs code as a user types it at the prompt: in its own octave-cli
  % started in folder, with the built MEX folder on the path and the
  % simulated driver on its default cameras, nothing open. ran: the code
  % ran to its end; problem: '' then, otherwise ': ' and the error, or how
  % the session ended; left: the names of the files it left in its own
  % temporary folder.
  file = [tempname() '.m'];
  handle = fopen(file, 'w');
  fputs(handle, code);
  fclose(handle);
  session = sprintf(['addpath(''%s''); QuorvelSim(''reset''); ', ...
                     'try, source(''%s''); disp(''<ran to its end>''); ', ...
                     'catch err, printf(''<error> %%s\\n'', err.message); end'], fileparts(which('QuorvelML')), file);
  scratch = tempname();
  mkdir(scratch);
  [status, output] = system(sprintf(['cd "%s" && TMPDIR="%s" timeout 300 octave-cli --no-gui --norc ', ...
                                     '--no-window-system --eval "%s" 2>&1'], folder, scratch, session));
  delete(file);
  listing = dir(scratch);
  left = setdiff({listing.name}, {'.', '..'});
  confirm_recursive_rmdir(false, 'local');
  rmdir(scratch, 's');
  ran = ~isempty(strfind(output, '<ran to its end>'));
  problem = regexp(output, '<error> ([^\n]*)', 'tokens', 'once');
  if ~isempty(problem)
    ran = false;
    problem = [': ' problem{1}];
  elseif ran
    problem = '';
  else
    problem = sprintf(': the session ended with status %d: %s', status, strtrim(output(max(1, end - 300):end)));
  end
end
