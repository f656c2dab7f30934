function requireTimeout(obj, value, method)
  % Refuses a timeout that is not a real number of seconds from 0 (Inf: no
  % limit): NaN and [] would never compare as past, and a text would wait
  % for its character codes.
  if ~(isnumeric(value) && isreal(value) && isscalar(value) && ~isnan(value) && value >= 0)
    error('QuorvelML:badTimeout', '%sthe timeout of %s takes a number of seconds from 0 (Inf: no limit); %s is not one.', ...
          where(idOf(obj), ''), method, describe(value));
  end
end
