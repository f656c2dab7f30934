function requireDriverText(obj, value, method, name)
  % Refuses a text the driver would cut: it reads at most 255 characters,
  % and stops at a NUL.
  requireText(obj, value, method, name);
  if numel(value) > 255 || any(value == char(0))
    error('QuorvelML:textCut', ['%s%s of %s takes at most 255 characters and no NUL character; ' ...
          'the driver would cut this one of %d characters.'], where(idOf(obj), ''), name, method, numel(value));
  end
end
