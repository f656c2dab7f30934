function expect_true(condition, label)
  if islogical(condition) && all(condition(:)) && ~isempty(condition)
    printf('ok - %s\n', label);
  else
    printf('not ok - %s\n', label);
  end
end
