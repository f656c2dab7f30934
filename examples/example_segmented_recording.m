function segments = example_segmented_recording(cameraId, segmentCount, frames)
  % EXAMPLE_SEGMENTED_RECORDING  Record in segments and read the first frame of each.
  %
  %   segments = example_segmented_recording()           camera 1004, 4 segments of 16 frames
  %   segments = example_segmented_recording(id, 8, 64)
  %
  %   Cameras of types 18 to 20 split a recording into segments; the driver
  %   reports where each begins, and readSegment(n) reads segment n's frame
  %   at that position. segments: the frames stacked along the last
  %   dimension, segment 0 first.
  %
  %   The recording arguments follow the simulated driver: frame count,
  %   trigger frame, last segment number, interval of the driver's reports
  %   (the whole recording: the first report means it is done).
  if nargin < 1, cameraId = 1004; end
  if nargin < 2, segmentCount = 4; end
  if nargin < 3, frames = 16; end

  cam = QuorvelCamera(cameraId);
  if ~any(cam.Type == [18 19 20])
    error('QuorvelML:notSegmented', 'Camera %d is of type %d; only types 18 to 20 record in segments.', ...
          cam.Id, cam.Type);
  end
  fprintf('Camera %d: recording %d frames in %d segments\n', cam.Id, frames, segmentCount);
  cam.startRecording(frames, 0, segmentCount - 1, frames);
  cam.wait(30);
  cam.stopRecording();
  segments = cam.readSegments(0:segmentCount - 1);
  colour = ~any(cam.PixelFormat == [0 1]);  % colour frames stack along dimension 4
  for n = 0:segmentCount - 1
    if colour
      image = segments(:, :, :, n + 1);
    else
      image = segments(:, :, n + 1);
    end
    fprintf('  segment %d: %d x %d %s, mean %7.2f\n', n, size(image, 1), size(image, 2), ...
            class(image), mean(double(image(:))));
  end
end
