function list = parameters(obj, numbers)
  % list = cam.parameters([numbers])  The numbered parameters the camera answers.
  %   Tries numbers (0 to 63 by default) and lists those whose value and
  %   limits read back: a struct array with Number, Property (the
  %   property that sets it, '' for none), Value and Limits. Without an
  %   output it prints the list as a table.
  %   >> cam = QuorvelCamera(1002);
  %   >> list = cam.parameters();
  %   >> list([list.Number] == 15)
  %   ans =
  %     ...
  %   >> delete(cam)
  if nargin < 2
    numbers = 0:63;
  end
  requireWhole(obj, numbers, 'parameters', 'a parameter number', 2^32 - 1, '', false);
  list = struct('Number', {}, 'Property', {}, 'Value', {}, 'Limits', {});
  for number = numbers(:)'
    out = cell(1, 4);
    [out{:}] = QuorvelML('GetParameter', obj.Id, number);
    if out{1} ~= 0
      continue;
    end
    list(end + 1) = struct('Number', double(number), 'Property', propertyOf(number), ...
                           'Value', double(out{2}), 'Limits', double([out{3} out{4}])); %#ok<AGROW>
  end
  if isempty(list) && ~obj.IsOpen
    raiseClosed(obj);
  end
  if nargout == 0
    fprintf('  %6s  %-12s %10s %10s %10s\n', 'number', 'property', 'value', 'limit 0', 'limit 1');
    for entry = list
      fprintf('  %6d  %-12s %10d %10d %10d\n', entry.Number, entry.Property, entry.Value, entry.Limits);
    end
    clear list
  end
end
