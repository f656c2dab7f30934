function texts = example_timing_text(cameraId, frames)
  % EXAMPLE_TIMING_TEXT  Grab frames and print the camera's timing text with each.
  %
  %   texts = example_timing_text()          10 frames of the first camera found
  %   texts = example_timing_text(1003, 5)
  %
  %   The timing text is the camera's time from its IRIG, GPS or PTP source,
  %   '(2024/02/15) 13:05:09:123:456' (date, hours, minutes, seconds,
  %   milliseconds, microseconds), or '(NO IRIG/GPS/PTP DATA)' without one.
  %   texts: one row of the cell per frame.
  if nargin < 1, cameraId = 0; end
  if nargin < 2, frames = 10; end

  cam = QuorvelCamera(cameraId);
  texts = cell(frames, 1);
  fprintf('Camera %d: %d frames with their timing text\n', cam.Id, frames);
  for k = 1:frames
    image = cam.grab();
    texts{k} = cam.timing();
    fprintf('  frame %3d  %s  mean %7.2f\n', k, texts{k}, mean(double(image(:))));
  end
end
