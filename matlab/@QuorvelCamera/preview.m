function [frame, value] = preview(obj)
  % cam.preview()  Opens a window of live frames; [frame, value] = cam.preview() takes one preview image.
  %   Without outputs: a figure that shows the camera's preview images
  %   until it is closed or cam.stopPreview() is called, with the frame
  %   rate, the pixel value range and the share of saturated pixels in its
  %   title. It does not block the prompt: Octave updates it between
  %   prompts (an input event hook) and during pause and drawnow, MATLAB
  %   from a timer. 16-bit images are shown on the screen's 8-bit scale.
  %   The window holds the handle: clear cam closes the camera once the
  %   window is closed. Without a display the window is refused
  %   (QuorvelML:noDisplay).
  %   With outputs: one preview image (MemoryPreview) and the driver's
  %   value with it.
  %   >> cam = QuorvelCamera(1001);
  %   >> [frame, value] = cam.preview();
  %   >> class(frame)
  %   ans = uint8
  %   >> delete(cam)
  if nargout > 0
    out = runChecked(obj, 3, 'MemoryPreview');
    frame = out{2};
    value = out{3};
    return;
  end
  if ~obj.IsOpen
    raiseClosed(obj);
  end
  isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
  if (isOctave && (isempty(available_graphics_toolkits()) || ~(ispc() || ismac() || ~isempty(getenv('DISPLAY'))))) ...
     || (~isOctave && ~(usejava('awt') && feature('ShowFigureWindows')))
    error('QuorvelML:noDisplay', 'Camera %d: the preview needs a display; [frame, value] = cam.preview() takes one image.', ...
          obj.Id);
  end
  obj.stopPreview();
  [first, value] = obj.preview();
  window = figure('Name', sprintf('Camera %d preview', obj.Id), 'NumberTitle', 'off', ...
                  'Tag', sprintf('QuorvelPreview%d', obj.Id));
  shownAxes = gca();
  if isa(first, 'uint16')
    first = uint8(double(first) / 257);
  end
  % image and a grey colour map, not imshow, which MATLAB keeps in a toolbox.
  picture = image('Parent', shownAxes, 'CData', first);
  colormap(shownAxes, gray(256));
  axis(shownAxes, 'image', 'off');
  set(shownAxes, 'YDir', 'reverse');   % line 1 at the top
  state = struct('Camera', obj, 'Axes', shownAxes, 'Picture', picture, 'Started', tic, 'Times', [], 'Value', value, ...
                 'Updates', []);
  setappdata(window, 'QuorvelPreview', state);
  if isOctave
    state.Updates = add_input_event_hook(@previewFrame, window);
  else
    state.Updates = timer('ExecutionMode', 'fixedSpacing', 'Period', 0.05, ...
                          'TimerFcn', @(~, ~) previewFrame(window));
  end
  setappdata(window, 'QuorvelPreview', state);
  set(window, 'DeleteFcn', @(source, ~) stopPreviewWindow(source));
  if ~isOctave
    start(state.Updates);
  end
  previewFrame(window);
end
