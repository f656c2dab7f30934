function enableTrace(obj, text, value)
  % cam.enableTrace(text, value)  Switches the driver's diagnostic trace.
  %   The text has at most 255 characters and no NUL (QuorvelML:textCut).
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.enableTrace('all', 1);
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 2, 'enableTrace', 'a text and a value');
  requireDriverText(obj, text, 'enableTrace', 'the trace text');
  requireWhole(obj, value, 'enableTrace', 'the value', 2^32 - 1);
  runChecked(obj, 1, 'EnableDiagnosticTrace', text, value);
end
