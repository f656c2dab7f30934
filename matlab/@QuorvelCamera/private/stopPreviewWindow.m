function stopPreviewWindow(window)
  % Ends the updates of a preview window and keeps the window.
  state = getappdata(window, 'QuorvelPreview');
  if isempty(state) || isempty(state.Updates)
    return;
  end
  if exist('OCTAVE_VERSION', 'builtin') ~= 0
    remove_input_event_hook(state.Updates);
  else
    stop(state.Updates);
    delete(state.Updates);
  end
  state.Updates = [];
  setappdata(window, 'QuorvelPreview', state);
end
