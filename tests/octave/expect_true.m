function expect_true(condition, label)
  % Prints the TAP-style line the test runner counts: ok when condition is all true.
  if islogical(condition) && all(condition(:)) && ~isempty(condition)
    printf('ok - %s\n', label);
  else
    printf('not ok - %s\n', label);
  end
end
