function requireArguments(obj, given, needed, method, what)
  if given < needed
    error('QuorvelML:missingArgument', '%s takes %s; %d of %d arguments were given.', ...
          where(idOf(obj), method), what, given, needed);
  end
end
