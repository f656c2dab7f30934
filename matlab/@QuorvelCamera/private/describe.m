function text = describe(value)
  % A value as a message shows it.
  if ischar(value) && (isrow(value) || isempty(value))
    text = ['''' value ''''];
  elseif islogical(value) && isscalar(value)
    text = sprintf('the logical %s', mat2str(value));  % true, not a number
  elseif isinteger(value) && isscalar(value)
    text = strtrim(evalc('disp(value)'));  % exact, where Octave's printf goes through a double
  elseif isnumeric(value) && isscalar(value) && isreal(value) && value == fix(value) && isfinite(value)
    text = sprintf('%.0f', value);  % whole, however large
  elseif (isnumeric(value) || islogical(value)) && isscalar(value)
    text = num2str(value);
  elseif isempty(value)
    text = 'an empty value';
  else
    text = sprintf('a %s %s', strjoin(arrayfun(@num2str, size(value), 'UniformOutput', false), '-by-'), ...
                   class(value));
  end
end
