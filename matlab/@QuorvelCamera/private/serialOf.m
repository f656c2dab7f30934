function serial = serialOf(id)
  % The module's serial of the open that registered the camera; 0 for
  % an id it holds no camera under.
  [~, serial] = QuorvelML('OpenSerial', id);
  serial = double(serial);
end
