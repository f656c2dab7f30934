function image = readFrame(obj, position, index)
  % image = cam.readFrame(position [, index])  One recorded frame by its readout position.
  %   position: a whole number from 0 (up to 2^64 - 1 as uint64); index
  %   (default 0) is passed to the driver.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.startRecording(8, 3, 0, 8); cam.wait(5); cam.stopRecording();
  %   >> image = cam.readFrame(5);
  %   >> size(image)
  %   ans =
  %      480   640
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'readFrame', 'a position');
  if nargin < 3
    index = 0;
  end
  requireWhole(obj, position, 'readFrame', 'the position', intmax('uint64'), 'QuorvelML:badPosition');
  requireWhole(obj, index, 'readFrame', 'the index', 2^32 - 1);
  position = uint64(position);
  low = double(bitand(position, uint64(4294967295)));
  high = double(bitshift(position, -32));
  out = callHeld(obj, 2, 'MemoryReadData', low, high, index);
  if out{1} == 13
    raiseReadFailure(obj, 'MemoryReadData', 'position', 13, position, 0, 1);
  end
  QuorvelCamera.check(out{1}, 'MemoryReadData', obj.Id);
  image = out{2};
end
