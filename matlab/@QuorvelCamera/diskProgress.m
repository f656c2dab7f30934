function [finished, current, final] = diskProgress(obj)
  % [finished, current, final] = cam.diskProgress()  How far the disk read has come.
  %   finished: true once the driver reported the read complete; current
  %   of final: the counts of its latest report (0 of 0 before any).
  %   >> cam = QuorvelCamera(1003);   % no disk read yet
  %   >> [finished, current, final] = cam.diskProgress()
  %   finished = 0
  %   current = 0
  %   final = 0
  %   >> delete(cam)
  out = runChecked(obj, 4, 'DiskReadProgress');
  finished = out{2} ~= 0;
  current = double(out{3});
  final = double(out{4});
end
