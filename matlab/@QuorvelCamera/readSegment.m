function image = readSegment(obj, number)
  % image = cam.readSegment(number)  The first frame of one segment of a segmented recording.
  %   >> cam = QuorvelCamera(1004);
  %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
  %   >> image = cam.readSegment(2);
  %   >> size(image)
  %   ans =
  %      480   640
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'readSegment', 'a segment number');
  requireWhole(obj, number, 'readSegment', 'the segment number', 2^32 - 1, 'QuorvelML:badSegment');
  out = runChecked(obj, 2, 'MemoryReadData', 0, 0, number);
  image = out{2};
end
