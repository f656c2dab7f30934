function names = public_methods(className)
  % The methods of the class a caller may use: Octave's methods() also
  % lists private and hidden ones.
  list = meta.class.fromName(className).MethodList;
  names = {};
  for k = 1:numel(list)
    if strcmp(list{k}.Access, 'public') && ~list{k}.Hidden
      names{end + 1} = list{k}.Name; %#ok<AGROW>
    end
  end
  names = sort(names);
end
