function result = example_record_burst(outputFolder, varargin)
  % EXAMPLE_RECORD_BURST  Record a burst into camera memory, read it back, save it lossless.
  %
  %   result = example_record_burst(outputFolder)
  %   result = example_record_burst(outputFolder, 'Camera', 1004, 'Frames', 16, 'PixelFormat', 1)
  %
  %   Records a burst into the camera's memory, waits for the driver's
  %   report of its last frame, stops, reads the trigger position, reads
  %   every frame back and writes each as a PNG file (16-bit where the
  %   format has more than 8 bits, so nothing is lost), and a contact sheet
  %   of all frames, each labelled with its position, the trigger frame
  %   framed in orange. The sheet stretches each channel over the range the
  %   burst uses, so that 16-bit frames that differ a little still differ
  %   on the sheet.
  %
  %   Options (defaults):
  %     'Camera'       camera id, 0 for the first found          (1001)
  %     'Frames'       frames in the burst                        (12)
  %     'Trigger'      frame of the burst the trigger falls on    (Frames / 2)
  %     'PixelFormat'  pixel format to record in                  (7: 16-bit colour)
  %     'Size'         [height width] to record at                (the camera's)
  %     'Show'         show the contact sheet in a figure         (when a screen is there)
  %
  %   result: camera, pixelFormat, frames (the images, stacked along the last
  %   dimension), triggerPosition ([first second]), files (cell of frame
  %   file names) and contactSheet (its file name).
  %
  %   The recording arguments follow the simulated driver: MemoryStartGrab's
  %   inputs are the frame count, the trigger frame, the last segment number
  %   and the interval of the driver's reports; an interval of the whole
  %   burst makes the first report, and so GrabIsReady, mean "burst done".
  options = struct('Camera', 1001, 'Frames', 12, 'Trigger', [], 'PixelFormat', 7, ...
                   'Size', [], 'Show', quorvel_display_available());
  for k = 1:2:numel(varargin)
    if ~isfield(options, varargin{k}) || k == numel(varargin)
      error('QuorvelML:exampleOption', 'example_record_burst takes the options %s, each with a value.', ...
            strjoin(fieldnames(options)', ', '));
    end
    options.(varargin{k}) = varargin{k + 1};
  end
  if isempty(options.Trigger)
    options.Trigger = floor(options.Frames / 2);
  end
  if ~exist(outputFolder, 'dir')
    mkdir(outputFolder);
  end

  cam = QuorvelCamera(options.Camera);
  cam.PixelFormat = options.PixelFormat;
  if ~isempty(options.Size)
    cam.Height = options.Size(1);
    cam.Width = options.Size(2);
  end
  fprintf('Camera %d: recording %d frames of %d x %d, pixel format %d\n', ...
          cam.Id, options.Frames, cam.Width, cam.Height, options.PixelFormat);

  cam.startRecording(options.Frames, options.Trigger, 0, options.Frames);
  cam.wait(30);
  cam.stopRecording();
  [first, second] = cam.triggerPosition();
  fprintf('Trigger position: %d, %d\n', first, second);

  frames = cam.readFrames(0:options.Frames - 1);
  % readFrames stacks mono frames (formats 0 and 1) along dimension 3,
  % colour frames along 4.
  stackDim = 3 + ~any(options.PixelFormat == [0 1]);
  files = cell(1, options.Frames);
  for k = 1:options.Frames
    files{k} = fullfile(outputFolder, sprintf('frame_%03d.png', k - 1));
    imwrite(frameOf(frames, k, stackDim), files{k});
  end
  fprintf('Wrote %d %s frames to %s\n', options.Frames, class(frames), outputFolder);

  sheet = contactSheet(frames, stackDim, options.Trigger + 1);
  sheetFile = fullfile(outputFolder, 'contact_sheet.png');
  imwrite(sheet, sheetFile);
  fprintf('Contact sheet: %s\n', sheetFile);
  if options.Show
    figure('Name', 'Burst contact sheet', 'NumberTitle', 'off');
    imshow(sheet);
  end

  result = struct('camera', cam.Id, 'pixelFormat', options.PixelFormat, 'frames', frames, ...
                  'triggerPosition', [first second], 'files', {files}, 'contactSheet', sheetFile);
end

function image = frameOf(frames, k, stackDim)
  if stackDim == 4
    image = frames(:, :, :, k);
  else
    image = frames(:, :, k);
  end
end

function sheet = contactSheet(frames, stackDim, marked)
  % The frames as 8-bit colour tiles, at most 160 pixels a side, in a grid
  % with a dark border, each over a strip with its position (k - 1); the
  % marked frame's border is orange.
  count = size(frames, stackDim);
  height = size(frames, 1);
  width = size(frames, 2);
  step = max(1, ceil(max(height, width) / 160));
  tileHeight = numel(1:step:height);
  tileWidth = numel(1:step:width);
  labelHeight = 9;
  cellHeight = tileHeight + labelHeight;
  border = 4;
  columns = ceil(sqrt(count));
  rows = ceil(count / columns);
  [low, high] = channelRange(frames, stackDim);
  sheet = repmat(reshape(uint8([32 32 32]), 1, 1, 3), ...
                 rows * (cellHeight + border) + border, columns * (tileWidth + border) + border);
  for k = 1:count
    tile = frameOf(frames, k, stackDim);
    tile = stretch(tile(1:step:end, 1:step:end, :), low, high);
    if size(tile, 3) == 1
      tile = repmat(tile, [1 1 3]);
    end
    top = floor((k - 1) / columns) * (cellHeight + border) + border;
    left = mod(k - 1, columns) * (tileWidth + border) + border;
    if k == marked
      frameRows = top - border + 1:top + cellHeight + border;
      frameColumns = left - border + 1:left + tileWidth + border;
      sheet(frameRows, frameColumns, :) = repmat(reshape(uint8([255 160 0]), 1, 1, 3), ...
                                                 numel(frameRows), numel(frameColumns));
    end
    sheet(top + 1:top + tileHeight, left + 1:left + tileWidth, :) = tile;
    label = digitsImage(k - 1);
    labelRows = top + tileHeight + 2:top + tileHeight + 1 + size(label, 1);
    labelColumns = left + 2:left + 1 + min(size(label, 2), tileWidth - 2);
    sheet(labelRows, labelColumns, :) = repmat(255 * uint8(label(:, 1:numel(labelColumns))), [1 1 3]);
  end
end

function [low, high] = channelRange(frames, stackDim)
  % Per channel, the 0.5th and 99.5th percentile of the burst's samples
  % (from every 7th sample): the range the sheet stretches to 0..255.
  if stackDim == 4
    samples = reshape(permute(frames, [1 2 4 3]), [], size(frames, 3));
  else
    samples = frames(:);
  end
  samples = double(samples(1:7:end, :));
  channels = size(samples, 2);
  low = zeros(1, channels);
  high = zeros(1, channels);
  for ch = 1:channels
    sorted = sort(samples(:, ch));
    low(ch) = sorted(max(1, round(0.005 * numel(sorted))));
    high(ch) = sorted(max(1, round(0.995 * numel(sorted))));
  end
end

function tile = stretch(tile, low, high)
  % Each channel from [low, high] to 0..255.
  tile = double(tile);
  for ch = 1:size(tile, 3)
    tile(:, :, ch) = (tile(:, :, ch) - low(ch)) * 255 / max(high(ch) - low(ch), 1);
  end
  tile = uint8(tile);
end

function image = digitsImage(number)
  % The number in a 3 x 5 pixel font, one blank column between digits.
  glyphs = {'111101101101111', '010110010010111', '111001111100111', '111001111001111', '101101111001001', ...
            '111100111001111', '111100111101111', '111001001001001', '111101111101111', '111101111001111'};
  text = sprintf('%d', number);
  image = false(5, 4 * numel(text) - 1);
  for d = 1:numel(text)
    glyph = reshape(glyphs{text(d) - '0' + 1} == '1', 3, 5)';
    image(:, 4 * d - 3:4 * d - 1) = glyph;
  end
end
