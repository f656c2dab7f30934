function [frames, info] = readSegments(obj, numbers, progress)
  % [frames, info] = cam.readSegments(numbers [, progress])  Segments stacked along the last dimension.
  %   As readFrames, with one MemoryReadSegments call per run of
  %   consecutive numbers (whole numbers from 0 to 2^32 - 1); info.Segment
  %   holds the segment numbers, and the position (the module takes it
  %   from its segment table) is NaN.
  %   >> cam = QuorvelCamera(1004);
  %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
  %   >> [segments, info] = cam.readSegments(0:3);
  %   >> info.Segment
  %   ans =
  %      0   1   2   3
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'readSegments', 'segment numbers');
  requireWhole(obj, numbers, 'readSegments', 'a segment number', 2^32 - 1, ...
               'QuorvelML:badSegment', false);
  if nargin < 3
    progress = numel(numbers) >= obj.ProgressThreshold;
  end
  [frames, read, status] = readMany(obj, 'MemoryReadSegments', 'segment', double(numbers), ...
                                    progress, nargout > 1);
  if nargout > 1
    info = readoutInfo(obj, nan(1, read), double(numbers(1:read)), status);
  end
end
