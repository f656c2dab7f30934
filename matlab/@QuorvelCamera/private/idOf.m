function id = idOf(obj)
  % The handle's camera id; [] for a call without a handle (static methods).
  id = [];
  if ~isempty(obj)
    id = obj.Id;
  end
end
