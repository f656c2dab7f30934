function [first, span] = consecutiveRun(numbers, done, chunk)
  % [first, span] = consecutiveRun(numbers, done, chunk)
  % The run of consecutive numbers after the first done of them, at most
  % chunk long: what one bulk call reads or saves. Found by the steps
  % between neighbours, in the numbers' own class, so integer numbers
  % beyond 2^53 stay exact; a step down saturates to 0 in an unsigned
  % class and so ends the run as any step other than 1 does.
  first = numbers(done + 1);
  last = min(numel(numbers), done + chunk);
  steps = numbers(done + 2:last) - numbers(done + 1:last - 1);
  span = find(steps ~= 1, 1);
  if isempty(span)
    span = last - done;
  end
end
