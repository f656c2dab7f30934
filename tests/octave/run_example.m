function [ran, problem] = run_example(code, folder)
  % Runs code as a user types it at the prompt: in its own octave-cli
  % started in folder, with the built MEX folder on the path and the
  % simulated driver on its default cameras, nothing open. ran: the code
  % ran to its end; problem: '' then, otherwise ': ' and the error, or how
  % the session ended.
  file = [tempname() '.m'];
  handle = fopen(file, 'w');
  fputs(handle, code);
  fclose(handle);
  session = sprintf(['addpath(''%s''); QuorvelSim(''reset''); ', ...
                     'try, source(''%s''); disp(''<ran to its end>''); ', ...
                     'catch err, printf(''<error> %%s\\n'', err.message); end'], fileparts(which('QuorvelML')), file);
  [status, output] = system(sprintf(['cd "%s" && timeout 300 octave-cli --no-gui --norc --no-window-system ', ...
                                     '--eval "%s" 2>&1'], folder, session));
  delete(file);
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
