function setParameter(obj, number, value)
  % cam.setParameter(number, value)  Writes a parameter within its limits.
  %   number: the parameter's number, or its name in the settings table
  %   (see cam.set).
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
  writeParameter(obj, parameterNumber(obj, number, 'setParameter'), value, true);
end
