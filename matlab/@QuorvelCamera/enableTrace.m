function enableTrace(obj, text, value)
  % cam.enableTrace(text, value)  Switches the driver's diagnostic trace.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.enableTrace('all', 1);
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 2, 'enableTrace', 'a text and a value');
  requireText(obj, text, 'enableTrace', 'the trace text');
  requireWhole(obj, value, 'enableTrace', 'the value', 2^32 - 1);
  runChecked(obj, 1, 'EnableDiagnosticTrace', text, value);
end
