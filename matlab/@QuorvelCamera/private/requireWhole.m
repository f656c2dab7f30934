function requireWhole(obj, value, method, name, top, identifier, scalar)
  % Refuses anything but whole numbers from 0 to top (one unless scalar
  % is false), naming the argument, its method and the first value refused.
  if nargin < 6 || isempty(identifier)
    identifier = 'QuorvelML:notWholeNumber';
  end
  if nargin < 7
    scalar = true;
  end
  subject = name;
  if ~isempty(method)
    subject = sprintf('%s of %s', name, method);
  end
  where = where(idOf(obj), '');
  if ~(isnumeric(value) && isreal(value) && (~scalar || isscalar(value)) && ~isempty(value))
    if ~isempty(value) || scalar
      error(identifier, '%s%s takes a whole number; %s is not one.', where, subject, describe(value));
    end
    return;
  end
  values = value(:);
  if ~isinteger(values)
    notWhole = find(~isfinite(values) | values ~= fix(values), 1);
    if ~isempty(notWhole)
      error(identifier, '%s%s takes a whole number; %s is not one.', where, subject, ...
            describe(values(notWhole)));
    end
  end
  if isinteger(values)
    outside = find(values < 0 | uint64(max(values, 0)) > uint64(top), 1);
  else
    % top + 1 is exact as a double where top is not (2^64 - 1).
    outside = find(values < 0 | values >= double(top) + 1, 1);
  end
  if ~isempty(outside)
    error(identifier, '%s%s takes a whole number from 0 to %s; %s is outside.', where, subject, ...
          describe(top), ...
          describe(values(outside)));
  end
end
