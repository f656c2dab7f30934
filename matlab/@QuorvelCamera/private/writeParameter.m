function writeParameter(obj, number, value, reapplies)
  % Writes a parameter after the class's checks: a whole number within the
  % camera's limits for it (their message names the limits, whatever the
  % value), and a pixel format the camera can deliver. With reapplies,
  % 0 for the width (15) or height (16) re-applies the current value, as
  % the module's SetParameter does; the properties and set refuse it as
  % outside the limits.
  label = sprintf('parameter %d', number);
  if ~(isnumeric(value) && isreal(value) && isscalar(value) && isfinite(double(value)) && value == fix(value))
    requireWhole(obj, value, '', label, 2^32 - 1);  % raises: not a whole number
  end
  reapply = reapplies && value == 0 && any(number == [15 16]);
  if ~reapply
    [~, limits] = obj.getParameter(number);
    if value < min(limits) || value > max(limits)
      hint = '';
      if value == 0 && any(number == [15 16])
        hint = sprintf(' (setParameter(%d, 0) re-applies the current value)', number);
      end
      error('QuorvelML:outOfLimits', 'Camera %d: parameter %d takes values from %d to %d; %s is outside%s.', ...
            obj.Id, number, min(limits), max(limits), describe(value), hint);
    end
  end
  if number == 2
    % Refused as a grab of this format would be, by the module's own check.
    refused = callHeld(obj, 1, 'CheckPixelFormat', value);
    refused = double(refused{1});
    if refused == 3 || refused == 18
      error(['QuorvelML:' QuorvelCamera.statusName(refused)], 'Camera %d: pixel format %d refused: %s.', ...
            obj.Id, value, quorvelStatusText(refused));
    end
  end
  runChecked(obj, 1, 'SetParameter', number, value);
end
