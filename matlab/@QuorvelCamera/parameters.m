function list = parameters(obj, numbers)
  % list = cam.parameters([numbers])  The camera's parameters with their names, values, limits and units.
  %   Tries numbers (0 to 63 and those the settings table names, by
  %   default) and lists those whose value and limits read back: a struct
  %   array with Number, Name and Unit (from the table of the camera's
  %   type, '' where it names none; see cam.set), Property (the property
  %   that sets it, '' for none), Value and Limits. Without an output it
  %   prints the list as a table. A parameter the table names, or one
  %   given in numbers, that does not read back raises
  %   QuorvelML:parameterReadFailed with its status; numbers from 0 to 63
  %   that the camera lacks are left out.
  %   >> QuorvelSim('reset');   % the simulated cameras' default settings
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.parameters()
  %     name         number       value    limit 0    limit 1  unit
  %     PixelFormat       2           0          0          8  format
  %     ExtraFrames       7           0          0          7  frames
  %     Exposure         11        1000          1    1000000  us
  %     Width            15         640         16       4096  pixels
  %     Height           16         480          1       4096  lines
  %     OpenSetting      35        2500          0      10000  -
  %   >> list = cam.parameters(15)
  %   list =
  %     ...
  %   >> delete(cam)
  named = settingsTable(obj.Type);
  if nargin < 2
    numbers = union(0:63, [named.Number]);
    required = [named.Number];
  else
    requireWhole(obj, numbers, 'parameters', 'a parameter number', 2^32 - 1, '', false);
    required = numbers;
  end
  list = struct('Number', {}, 'Name', {}, 'Unit', {}, 'Property', {}, 'Value', {}, 'Limits', {});
  for number = numbers(:)'
    out = cell(1, 4);
    [out{:}] = QuorvelML('GetParameter', obj.Id, number);
    [name, unit] = deal('');
    row = find([named.Number] == number, 1);
    if ~isempty(row)
      [name, unit] = deal(named(row).Name, named(row).Unit);
    end
    if out{1} ~= 0 && any(required == number) && holds(obj)
      if ~isempty(name)
        name = sprintf(' (%s)', name);
      end
      error('QuorvelML:parameterReadFailed', 'Camera %d: GetParameter answered %d for parameter %d%s: %s.', ...
            obj.Id, double(out{1}), number, name, quorvelStatusText(out{1}));
    elseif out{1} ~= 0
      continue;  % a number the camera does not have
    end
    list(end + 1) = struct('Number', double(number), 'Name', name, 'Unit', unit, 'Property', propertyOf(number), ...
                           'Value', double(out{2}), 'Limits', double([out{3} out{4}])); %#ok<AGROW>
  end
  if isempty(list) && ~obj.IsOpen
    raiseClosed(obj);
  end
  if nargout == 0
    fprintf('  %-12s %6s  %10s %10s %10s  %s\n', 'name', 'number', 'value', 'limit 0', 'limit 1', 'unit');
    for entry = list
      fprintf('  %-12s %6d  %10d %10d %10d  %s\n', entry.Name, entry.Number, entry.Value, entry.Limits, entry.Unit);
    end
    clear list
  end
end
