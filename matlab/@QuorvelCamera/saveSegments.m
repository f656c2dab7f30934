function info = saveSegments(obj, file, numbers, varargin)
  % info = cam.saveSegments(file, numbers, ...)  Segments saved to a multi-page TIFF file.
  %   As saveFrames, each segment read as readSegments reads it; the
  %   pages' position and trigger index are null, as readSegments' info
  %   gives NaN.
  %   >> cam = QuorvelCamera(1004);
  %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
  %   >> file = [tempname() '.tif'];
  %   >> info = cam.saveSegments(file, 0:3);
  %   >> info.Segment
  %   ans =
  %      0   1   2   3
  %   >> delete(file); delete(cam)
  requireArguments(obj, nargin - 1, 2, 'saveSegments', 'a file name and segment numbers');
  requireText(obj, file, 'saveSegments', 'the file name');
  requireWhole(obj, numbers, 'saveSegments', 'a segment number', 2^32 - 1, 'QuorvelML:badSegment', ...
               false);
  if isempty(numbers)
    error('QuorvelML:badSegment', '%s takes at least one segment number; none were given, and no file is written.', ...
          where(obj.Id, 'saveSegments'));
  end
  info = saveRecorded(obj, 'MemorySaveSegments', file, numbers, nargout > 0, varargin);
end
