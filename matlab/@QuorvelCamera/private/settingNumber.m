function [number, row] = settingNumber(obj, name, method)
  % The parameter number of a setting named in the camera type's table
  % (any case), and its row; a name the table lacks is refused with the
  % names it has.
  rows = settingsTable(obj.Type);
  found = find(strcmpi({rows.Name}, name), 1);
  if isempty(found)
    listed = strjoin({rows.Name}, ', ');
    if isempty(listed)
      listed = 'none (the settings table has no row for it)';
    end
    error('QuorvelML:unknownSetting', '%s: camera type %d has no setting named ''%s''; its settings are %s.', ...
          where(obj.Id, method), obj.Type, name, listed);
  end
  row = rows(found);
  number = row.Number;
end
