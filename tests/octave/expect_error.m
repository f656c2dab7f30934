function expect_error(call, message, label)
  % The call must raise exactly message; the host prefixes the function's
  % name and drops a trailing newline, so both are forgiven.
  try
    call();
    printf('not ok - %s: no error raised\n', label);
    return;
  catch err
    got = regexprep(err.message, '^Quorvel(ML|Sim): ', '');
  end
  want = regexprep(message, '\n$', '');
  if strcmp(got, want)
    printf('ok - %s\n', label);
  else
    printf('not ok - %s: got "%s", expected "%s"\n', label, got, want);
  end
end
