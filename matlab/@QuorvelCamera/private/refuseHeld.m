function refuseHeld(id)
  % One handle per camera: a camera that a handle of this session holds
  % cannot be opened again; a claim whose open the module forgot is dropped.
  serial = claims('serial', id);
  if serial == 0
    return;
  end
  if serialOf(id) == serial
    error('QuorvelML:alreadyOpen', ['Camera %d is already open in this session: use its QuorvelCamera, ', ...
          'or close that first.'], id);
  end
  claims('release', id, serial);
end
