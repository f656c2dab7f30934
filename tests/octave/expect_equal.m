function expect_equal(actual, expected, label)
  % Prints the TAP-style line the test runner counts.
  if isequal(actual, expected) && strcmp(class(actual), class(expected))
    printf('ok - %s\n', label);
  else
    printf('not ok - %s: got %s (%s), expected %s (%s)\n', label, mat2str(actual), class(actual), ...
           mat2str(expected), class(expected));
  end
end
