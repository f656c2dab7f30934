function stopPreview(obj)
  % cam.stopPreview()  Closes the camera's preview window (cam.preview()); nothing when none is open.
  %   >> cam = QuorvelCamera(1002);
  %   >> cam.stopPreview();   % no window open: nothing to do
  %   >> delete(cam)
  windows = findall(0, 'Tag', sprintf('QuorvelPreview%d', obj.Id));
  for window = windows(:)'
    stopPreviewWindow(window);
    delete(window);
  end
end
