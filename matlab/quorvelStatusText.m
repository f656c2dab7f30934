function [text, name] = quorvelStatusText(code)
  % QUORVELSTATUSTEXT  Meaning of a QuorvelML status number.
  %   quorvelStatusText(12) returns 'the live grab failed, or the driver refused to start a recording'.
  %   [text, name] = quorvelStatusText(12) also returns 'grabFailed', the name in its error identifier.
  %   quorvelStatusText() returns the whole table as an N-by-2 cell array; [texts, names] = quorvelStatusText()
  %   both tables, numbers in column 1.
  table = quorvelStatusTable();
  if nargin == 0
    text = table(:, [1 3]);
    name = table(:, [1 2]);
    return;
  end
  row = find([table{:, 1}] == double(code), 1);
  if isempty(row)
    text = sprintf('unknown status %d', double(code));
    name = sprintf('status%d', double(code));
  else
    text = table{row, 3};
    name = table{row, 2};
  end
end

%!test  # every status number the camera class names has its meaning here
%! names = QuorvelCamera.statusName();
%! texts = quorvelStatusText();
%! assert([names{:, 1}], [texts{:, 1}]);
%! assert(quorvelStatusText(16), 'unknown status 16');
