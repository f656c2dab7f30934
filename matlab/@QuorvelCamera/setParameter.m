function setParameter(obj, number, value)
  % cam.setParameter(number, value)  Writes a parameter within its limits.
  %   Refused before the driver sees it: a value that is not a whole
  %   number (QuorvelML:notWholeNumber), one outside the parameter's
  %   limits (QuorvelML:outOfLimits), and a pixel format (parameter 2)
  %   that the camera cannot deliver (the identifier a grab would give:
  %   QuorvelML:formatNotMono or QuorvelML:formatNotSupported).
  %   0 for the width (15) or height (16) re-applies the current value.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.setParameter(15, 320);
  %   >> cam.Width
  %   ans = 320
  %   >> cam.setParameter(15, 320.5)
  %   error: ...
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 2, 'setParameter', 'a parameter number and a value');
  requireWhole(obj, number, 'setParameter', 'the parameter number', 2^32 - 1);
  requireWhole(obj, value, '', sprintf('parameter %g', number), 2^32 - 1);
  reapply = value == 0 && any(number == [15 16]);
  if ~reapply
    [~, limits] = obj.getParameter(number);
    if value < min(limits) || value > max(limits)
      error('QuorvelML:outOfLimits', 'Camera %d: parameter %d takes values from %d to %d; %g is outside.', ...
            obj.Id, number, min(limits), max(limits), value);
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
