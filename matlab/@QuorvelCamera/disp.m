function disp(obj)
  % disp(cam)  The camera's identity and image format, or that it is closed.
  %   >> cam = QuorvelCamera(1002);
  %   >> disp(cam)
  %     QuorvelCamera 1002: type 2, 640 x 480, pixel format 0
  %   >> delete(cam)
  if ~obj.IsOpen
    fprintf('  QuorvelCamera %s (closed)\n', num2str(obj.Id));
    return;
  end
  raw = '';
  if ~isempty(obj.Source)
    raw = sprintf(' (raw: %s)', obj.Source);
  end
  fprintf('  QuorvelCamera %d%s: type %d, %d x %d, pixel format %d\n', obj.Id, raw, obj.Type, obj.Width, ...
          obj.Height, obj.PixelFormat);
end
