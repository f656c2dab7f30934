function text = timing(obj)
  % text = cam.timing()  The camera's IRIG/GPS/PTP time as text.
  %   >> cam = QuorvelCamera(1002);   % a camera without a time source
  %   >> text = cam.timing()
  %   text = (NO IRIG/GPS/PTP DATA)
  %   >> delete(cam)
  out = runChecked(obj, 2, 'ReadGPSTiming', 64);
  column = out{2};
  last = find(column == 0, 1) - 1;
  if isempty(last)
    last = numel(column);
  end
  text = char(column(1:last))';
end
