function expect_equal(actual, expected, label)
  % Prints the TAP-style line the test runner counts.
  if isequal(actual, expected) && strcmp(class(actual), class(expected))
    printf('ok - %s\n', label);
  else
    printf('not ok - %s: got %s (%s), expected %s (%s)\n', label, shown(actual), class(actual), ...
           shown(expected), class(expected));
  end
end

function text = shown(value)
  % Octave's mat2str takes only two-dimensional numbers and logicals.
  if ischar(value) && rows(value) <= 1
    text = ['"' value '"'];
  elseif (isnumeric(value) || islogical(value)) && ndims(value) == 2
    text = mat2str(value);
  else
    text = strtrim(evalc('disp(value)'));
  end
end
