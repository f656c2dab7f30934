function refuseHeld(id)
  % One handle per camera: a camera that a handle of this session holds
  % cannot be opened again; a claim whose open the module forgot is dropped,
  % and so is one whose camera the driver no longer has (its handle then
  % says so).
  serial = claims('serial', id);
  if serial == 0
    return;
  end
  if serialOf(id) == serial
    [~, attached] = QuorvelML('CheckAttached', id);
    if attached
      error('QuorvelML:alreadyOpen', ['Camera %d is already open in this session: use its QuorvelCamera, ', ...
            'or close that first.'], id);
    end
    claims('lose', id, serial);
    return;
  end
  claims('release', id, serial);
end
