function [first, span] = consecutiveRun(numbers, done, chunk)
  % [first, span] = consecutiveRun(numbers, done, chunk)
  % The run of consecutive numbers after the first done of them, at most
  % chunk long: what one bulk call reads or saves. Found by difference, so
  % integer numbers beyond 2^53 stay exact and nothing saturates.
  first = numbers(done + 1);
  span = 1;
  while span < chunk && done + span < numel(numbers) && numbers(done + span + 1) - first == span
    span = span + 1;
  end
end
