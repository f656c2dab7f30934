function refuseUndeliverableFormat(obj, format)
  % The refusal a grab would give for this format: a mono-only camera
  % delivers formats 0 and 1, and one of type 2 format 0 only.
  if format == 0 || obj.IsColour
    return;
  end
  if obj.Type == 2
    code = 18;
  elseif format ~= 1
    code = 3;
  else
    return;
  end
  error(['QuorvelML:' QuorvelCamera.statusName(code)], 'Camera %d: pixel format %d refused: %s.', ...
        obj.Id, format, quorvelStatusText(code));
end
