function gone = letGoIfDetached(obj)
  % Asks the module whether the driver still has the camera this handle
  % holds; one it no longer has (unplugged, switched off, or its driver
  % reset) is let go, so that it can be opened again, and the handle
  % tells why it is closed from then on.
  gone = false;
  if ~holds(obj)
    return;
  end
  [~, attached] = QuorvelML('CheckAttached', obj.Id);
  if ~attached
    claims('lose', obj.Id, obj.Serial);
    gone = true;
  end
end
