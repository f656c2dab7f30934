function requireText(obj, value, method, name)
  % Refuses anything but a text (a char row, or empty), naming the argument.
  if ~(ischar(value) && (isrow(value) || isempty(value)))
    error('QuorvelML:notText', '%s%s of %s takes a text; %s is not one.', ...
          where(idOf(obj), ''), name, method, describe(value));
  end
end
