function [frames, info] = quorvelReadFrames(file, pages)
  % QUORVELREADFRAMES  Reads back frames that QuorvelCamera.saveFrames or saveSegments saved.
  %
  %   [frames, info] = quorvelReadFrames(file)          every page of the file
  %   [frames, info] = quorvelReadFrames(file, pages)   the pages given, 1-based, in that order
  %
  %   frames and info are what readFrames (or readSegments) gives for the
  %   same frames: the stack along the last dimension (mono along 3, colour
  %   along 4) of the saved class, and per frame its Position, Segment and
  %   TriggerIndex (NaN where the page says null), with Status 0. Any TIFF
  %   reader reads the file too: imread(file, 'Index', k) is frame k, and
  %   each page's ImageDescription is a JSON object of the same values.
  %
  %   Example:  cam = QuorvelCamera(1001);
  %             cam.startRecording(8, 3, 0, 8); cam.wait(5); cam.stopRecording();
  %             file = [tempname() '.tif'];
  %             cam.saveFrames(file, 0:7);
  %             [frames, info] = quorvelReadFrames(file, 2:3);
  %             isequal(frames, cam.readFrames(1:2))
  %             delete(file); clear cam
  %
  %   See also QuorvelCamera.

  pageInfo = imfinfo(file);
  if nargin < 2
    pages = 1:numel(pageInfo);
  end
  if ~isnumeric(pages) || any(pages(:) < 1 | pages(:) > numel(pageInfo) | pages(:) ~= fix(pages(:)))
    error('QuorvelML:badPage', 'The file ''%s'' has pages 1 to %d.', file, numel(pageInfo));
  end
  pages = double(pages(:)');
  count = numel(pages);
  frames = [];
  info = struct('Position', nan(1, count), 'Segment', nan(1, count), 'TriggerIndex', nan(1, count), 'Status', 0);
  if exist('OCTAVE_VERSION', 'builtin') ~= 0
    % Octave reads every page asked for in one pass (H x W x samples x n).
    frames = imread(file, 'Index', pages);
    if size(frames, 3) == 1
      frames = reshape(frames, size(frames, 1), size(frames, 2), count);  % mono stacks along 3
    end
  end
  for k = 1:count
    if exist('OCTAVE_VERSION', 'builtin') == 0
      frame = imread(file, 'Index', pages(k));
      if k == 1
        frames = zeros([size(frame) count], class(frame));  % mono stacks along 3, colour along 4
        planes = repmat({':'}, 1, ndims(frame));
      end
      frames(planes{:}, k) = frame;
    end
    description = pageInfo(pages(k)).ImageDescription;
    if isempty(description) && isfield(pageInfo, 'Comment')
      description = pageInfo(pages(k)).Comment;  % where Octave's imfinfo puts it
    end
    origin = jsondecode(description);
    info.Position(k) = numberOrNaN(origin.position);
    info.Segment(k) = numberOrNaN(origin.segment);
    info.TriggerIndex(k) = numberOrNaN(origin.triggerIndex);
  end
end

function value = numberOrNaN(value)
  if isempty(value)
    value = NaN;
  end
end
