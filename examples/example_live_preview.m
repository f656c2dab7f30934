function means = example_live_preview(cameraId, frames, show)
  % EXAMPLE_LIVE_PREVIEW  A live preview loop that displays the camera's frames.
  %
  %   example_live_preview()              100 previews of the first camera found
  %   example_live_preview(1002, 50)      50 previews of camera 1002
  %   example_live_preview(id, n, false)  no display: print each frame's mean instead
  %   means = example_live_preview(...)   the mean sample value of every frame
  %
  %   Without a screen (octave-cli, -nodisplay) the frames are not shown
  %   and their means are printed.
  if nargin < 1, cameraId = 0; end
  if nargin < 2, frames = 100; end
  if nargin < 3, show = quorvel_display_available(); end

  cam = QuorvelCamera(cameraId);
  fprintf('Previewing camera %d: %d x %d, pixel format %d\n', cam.Id, cam.Width, cam.Height, cam.PixelFormat);
  means = zeros(1, frames);
  shownFrames = 0;
  if show
    figureHandle = figure('Name', sprintf('Camera %d', cam.Id), 'NumberTitle', 'off');
    picture = [];
  end
  for k = 1:frames
    if show && ~ishandle(figureHandle)
      break;  % the window was closed: stop previewing
    end
    [image, value] = cam.preview();
    means(k) = mean(double(image(:)));
    shownFrames = k;
    if show
      shown = displayable(image);
      if isempty(picture)
        picture = imshow(shown);
      else
        set(picture, 'CData', shown);
      end
      title(sprintf('frame %d (driver value %d)', k, value));
      drawnow;
    else
      fprintf('  frame %3d  mean %7.2f  driver value %d\n', k, means(k), value);
    end
  end
  means = means(1:shownFrames);
end

function image = displayable(image)
  % 16-bit frames are shown on the 8-bit scale of the screen.
  if isa(image, 'uint16')
    image = uint8(double(image) / 257);
  end
end
