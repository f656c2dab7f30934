function result = claims(action, id, serial, reports)
  % The session's claims, one row [id serial reports] per camera a
  % handle holds: the module's serial of its open and the reports that
  % end the recording the handle started (NaN: none known). Handles are
  % not kept here, so clearing the last reference still deletes them.
  % The opens the driver lost under their handles ([id serial] a row) are
  % kept too, so that those handles can say why they are closed.
  persistent rows lost
  if isempty(rows)
    rows = zeros(0, 3);
  end
  if isempty(lost)
    lost = zeros(0, 2);
  end
  result = [];
  row = [];
  if nargin > 1
    row = find(rows(:, 1) == id, 1);
  end
  mine = ~isempty(row) && nargin > 2 && rows(row, 2) == serial;
  switch action
    case 'claim'
      rows(end + 1, :) = [id serial NaN];
    case 'serial'
      result = 0;
      if ~isempty(row)
        result = rows(row, 2);
      end
    case 'release'
      if mine
        rows(row, :) = [];
      end
    case 'lose'
      if mine
        rows(row, :) = [];
      end
      lost(end + 1, :) = [id serial];
    case 'lost'
      result = any(lost(:, 1) == id & lost(:, 2) == serial);
    case 'expect'
      if mine
        rows(row, 3) = double(reports);
      end
    case 'expected'
      result = NaN;
      if mine
        result = rows(row, 3);
      end
    case 'list'
      result = rows;
  end
end
