function previewFrame(window)
  % One update of a preview window: the camera's next preview image, and
  % in the title the frame rate, the pixel value range and the share of
  % saturated pixels. Called by the host between prompts, so it raises
  % nothing: a failure stops the preview and is shown in the title, and a
  % window closed or drawn over by another plot (its picture gone) stops
  % it quietly.
  if ~ishghandle(window)
    return;
  end
  state = getappdata(window, 'QuorvelPreview');
  if isempty(state) || ~ishghandle(state.Picture)
    stopPreviewWindow(window);
    return;
  end
  try
    [frame, value] = state.Camera.preview();
  catch failure
    stopPreviewWindow(window);
    title(state.Axes, ['preview stopped: ' failure.message]);
    return;
  end
  top = double(intmax(class(frame)));
  shown = frame;
  if isa(frame, 'uint16')
    shown = uint8(double(frame) / 257);  % the screen's 8-bit scale
  end
  set(state.Picture, 'CData', shown);
  now = toc(state.Started);
  state.Times = [state.Times(state.Times > now - 1), now];   % the frames of the last second
  state.Value = value;
  setappdata(window, 'QuorvelPreview', state);
  rate = 0;
  if numel(state.Times) > 1
    rate = (numel(state.Times) - 1) / (state.Times(end) - state.Times(1));
  end
  title(state.Axes, sprintf('Camera %d: %.1f frames/s, pixels %d to %d, %.2f %% saturated', state.Camera.Id, ...
        rate, min(frame(:)), max(frame(:)), 100 * mean(frame(:) == top)));
  drawnow();
end
