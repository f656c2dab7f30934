function [first, second] = grab(obj, argument)
  % [first, second] = cam.grab([argument])  A live grab of ExtraFrames + 1 frames.
  %   With ExtraFrames 1 the two images are consecutive frames; with 0
  %   second is zero. argument (default 0) is passed to the driver.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.ExtraFrames = 1;
  %   >> [first, second] = cam.grab();
  %   >> size(second)
  %   ans =
  %      480   640
  %   >> delete(cam)
  if nargin < 2
    argument = 0;
  end
  requireWhole(obj, argument, 'grab', 'the argument', 2^32 - 1);
  out = runChecked(obj, 3, 'SynchGrab', argument);
  [first, second] = out{2:3};
end
