function id = idOf(obj)
  id = [];
  if ~isempty(obj)
    id = obj.Id;
  end
end
