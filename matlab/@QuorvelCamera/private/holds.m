function held = holds(obj)
  % Whether the module still holds the open this handle made, without
  % asking the driver: the module's serial for the id changes with every
  % close and open, so a camera closed and opened again elsewhere is not
  % this handle's.
  held = obj.Serial ~= 0 && serialOf(obj.Id) == obj.Serial;
end
