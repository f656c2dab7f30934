function readFromDisk(obj, a, b, c, d, e, f)
  % cam.readFromDisk(a, b, c, d, e, f)  Starts the driver's read of a recording back from disk.
  %   The read goes on after the call; follow it with diskProgress and
  %   wait for it with waitForDisk.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
  %   >> file = [tempname() '.qrv'];
  %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
  %   >> cam.readFromDisk(0, 0, 8, 0, 0, 0);
  %   >> cam.waitForDisk(5);
  %   >> [finished, current, final] = cam.diskProgress()
  %   finished = 1
  %   current = 8
  %   final = 8
  %   >> delete(file); delete(cam)
  requireArguments(obj, nargin - 1, 6, 'readFromDisk', 'six numbers');
  numbers = {a, b, c, d, e, f};
  for k = 1:6
    requireWhole(obj, numbers{k}, 'readFromDisk', sprintf('number %d', k), 2^32 - 1);
  end
  runChecked(obj, 1, 'MemoryReadFromDisk', numbers{:});
end
