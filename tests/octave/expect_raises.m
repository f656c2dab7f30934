function expect_raises(call, identifier, fragment, label)
  % The call must raise this identifier, with `fragment` in its message
  % (any message when `fragment` is empty).
  try
    call();
    printf('not ok - %s: no error raised\n', label);
    return;
  catch err
  end
  if strcmp(err.identifier, identifier) && (isempty(fragment) || ~isempty(strfind(err.message, fragment)))
    printf('ok - %s\n', label);
  else
    printf('not ok - %s: got %s "%s"\n', label, err.identifier, err.message);
  end
end
