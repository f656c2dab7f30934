function requireArguments(obj, given, needed, method, what)
  % Refuses a call with fewer arguments than needed, naming what the method takes.
  if given < needed
    error('QuorvelML:missingArgument', '%s takes %s; %d of %d arguments were given.', ...
          where(idOf(obj), method), what, given, needed);
  end
end
