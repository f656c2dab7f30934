function display(obj)
  % display(cam)  Shows the variable's name and disp(cam); Octave shows objects this way.
  %   >> cam = QuorvelCamera(1002)
  %   cam =
  %     QuorvelCamera 1002: type 2, 640 x 480, pixel format 0
  %   >> delete(cam)
  name = inputname(1);
  if ~isempty(name)
    fprintf('%s =\n', name);
  end
  disp(obj);
end
