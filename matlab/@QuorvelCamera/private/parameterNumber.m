function number = parameterNumber(obj, number, method)
  % A parameter named by its number, or by its name in the settings table.
  if ischar(number)
    requireText(obj, number, method, 'the parameter''s name');
    number = settingNumber(obj, number, method);
  else
    requireWhole(obj, number, method, 'the parameter number', 2^32 - 1);
  end
end
