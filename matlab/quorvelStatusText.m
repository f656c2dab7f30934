function text = quorvelStatusText(code)
  % QUORVELSTATUSTEXT  Meaning of a QuorvelML status number.
  %   quorvelStatusText(12) returns 'the live grab failed, or the driver refused to start a recording'.
  %   quorvelStatusText() returns the whole table as an N-by-2 cell array.
  table = quorvelStatusTable();
  table = table(:, [1 3]);
  if nargin == 0
    text = table;
    return;
  end
  row = find([table{:, 1}] == double(code), 1);
  if isempty(row)
    text = sprintf('unknown status %d', double(code));
  else
    text = table{row, 2};
  end
end

%!test  # every status number the camera class names has its meaning here
%! names = QuorvelCamera.statusName();
%! texts = quorvelStatusText();
%! assert([names{:, 1}], [texts{:, 1}]);
%! assert(quorvelStatusText(16), 'unknown status 16');
