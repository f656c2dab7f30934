function [text, name] = quorvelStatusText(code)
  % QUORVELSTATUSTEXT  Meaning of a QuorvelML status number.
  %   text = quorvelStatusText(code) is the meaning of the number;
  %   [text, name] = quorvelStatusText(code) also gives the name in its
  %   error identifier (QuorvelML:name). quorvelStatusText() returns the
  %   whole table as an N-by-2 cell array, numbers in column 1;
  %   [texts, names] = quorvelStatusText() both tables.
  %
  %   >> quorvelStatusText(12)
  %   ans = the live grab failed, or the driver refused to start a recording
  %   >> [text, name] = quorvelStatusText(19)
  %   text = the software trigger failed
  %   name = triggerFailed
  %   >> texts = quorvelStatusText();
  %   >> texts(1, :)
  %   ans =
  %   {
  %     [1,1] = 0
  %     [1,2] = success
  %   }
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
