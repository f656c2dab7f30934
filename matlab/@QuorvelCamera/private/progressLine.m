function state = progressLine(state, done, bytes, finish)
  % The progress of work on many frames, shown once it has lasted a second:
  % frames done, frames per second (and MB/s where the bytes are known) and
  % the time left once a frame is done, on one line rewritten in place on a
  % terminal, or a line every two seconds where the output is not one.
  %   state = progressLine({cameraId, 'read', total})   before the work
  %   state = progressLine(state, done [, bytes])       after each step
  %   progressLine(state, done, bytes, 'end')           after the last
  %   ender = progressLine()   an onCleanup that ends a line left open when
  %                            the work stops midway (an error, Ctrl-C), so
  %                            that the next message starts a line of its own
  persistent lineOpen   % a terminal line written without its end
  if nargin == 0
    state = onCleanup(@() progressLine('end an open line'));
    return;
  end
  if ischar(state)
    if isequal(lineOpen, true)
      fprintf('\n');
    end
    lineOpen = false;
    return;
  end
  if iscell(state)
    [cameraId, verb, total] = state{:};
    state = struct('Camera', cameraId, 'Verb', verb, 'Total', total, 'Started', tic, 'Shown', -Inf, ...
                   'Terminal', [], 'Width', 0, 'Finished', false);
    return;
  end
  if nargin < 3
    bytes = NaN;
  end
  finishing = nargin > 3 || done >= state.Total;
  elapsed = toc(state.Started);
  if state.Finished || (elapsed < 1 && isinf(state.Shown))
    return;  % short work shows nothing
  end
  if isempty(state.Terminal)
    % The session's output is this process's; a shell started from it shares it.
    state.Terminal = ~ispc && system('[ -t 1 ]') == 0;
  end
  every = 2 - 1.8 * state.Terminal;
  if ~finishing && elapsed - state.Shown < every
    return;
  end
  rate = done / max(elapsed, eps);
  text = sprintf('Camera %d: %s %d of %d frames, %.0f frames/s', state.Camera, state.Verb, done, state.Total, rate);
  if isfinite(bytes)
    text = sprintf('%s, %.1f MB/s', text, bytes / 1e6 / max(elapsed, eps));
  end
  if finishing
    text = sprintf('%s, %.1f s', text, elapsed);
  elseif done > 0   % with nothing done yet there is no rate to tell the time left by
    text = sprintf('%s, %.0f s left', text, ceil((state.Total - done) / rate));
  end
  if state.Terminal
    % Rewritten in place: blanks over the end of a longer line before it.
    fprintf('\r%s%s', text, blanks(max(0, state.Width - numel(text))));
    state.Width = numel(text);
    if finishing
      fprintf('\n');
    end
    lineOpen = ~finishing;
  else
    fprintf('%s\n', text);
  end
  state.Shown = elapsed;
  state.Finished = finishing;
end
