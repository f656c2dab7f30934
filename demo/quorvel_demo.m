% The QuorvelML demo on the simulated cameras: the README's quick start with
% the camera class, from opening a camera to a saved recording read back,
% leaving its files in the current folder (demo-output/ under ./run-demo).
function quorvel_demo()
  driver = QuorvelCamera.driverInfo();
  kinds = {'a real driver', 'the simulator'};
  printf('QuorvelML %s on %s\n', QuorvelML('Version'), kinds{driver.Simulated + 1});
  printf('Cameras found: %s\n', mat2str(QuorvelCamera.list()));
  QuorvelSim('reset');

  section('Open a camera and set it by name');
  cam = QuorvelCamera(1001);
  cam.set('Exposure', 2500);            % microseconds, from the settings table
  cam.Width = 320;
  cam.Height = 240;
  cam.PixelFormat = 7;                  % colour, 16 bits a sample on readout
  disp(cam);
  cam.parameters();
  try
    cam.set('Width', 5000);
  catch err
    printf('cam.set(''Width'', 5000) is refused: %s\n  %s\n', err.identifier, err.message);
  end

  section('Record around a trigger');
  cam.startRecording(100, 40, 0, 100);  % 100 frames, the trigger on frame 40, one report at the end
  cam.wait(5);
  [trigger, recorded] = cam.triggerPosition();
  printf('%d frames recorded, the trigger on position %d\n', recorded, trigger);
  [frames, info] = cam.readFrames(trigger - 3:trigger + 3);
  printf('readFrames(%d:%d): %s %s\n', trigger - 3, trigger + 3, mat2str(size(frames)), class(frames));
  printf('  TriggerIndex %s, Status %d\n', mat2str(info.TriggerIndex), info.Status);

  section('Save to TIFF and read back');
  saved = cam.saveFrames('burst.tif', 0:99, 'Overwrite', true);
  [back, backInfo] = quorvelReadFrames('burst.tif');
  printf('burst.tif: %d pages of %s, each with its metadata\n', numel(saved.Position), ...
         mat2str(size(back)(1:end - 1)));
  printf('  read back equal to readFrames: %d, trigger indices %d to %d\n', ...
         isequal(back, cam.readFrames(0:99, false)), backInfo.TriggerIndex([1 end]));

  section('A live frame, saved as a picture');
  image = cam.grab();
  imwrite(image, 'preview.png');
  top = double(intmax(class(image)));
  printf('preview.png: %s %s, pixels %d to %d, %.1f %% saturated\n', mat2str(size(image)), class(image), ...
         min(image(:)), max(image(:)), 100 * mean(image(:) == top));
  clear cam

  section('A segmented recording (camera 1004)');
  cam = QuorvelCamera(1004);
  cam.startRecording(40, 0, 3, 40);     % 40 frames in 3 + 1 segments
  cam.wait(5);
  [firsts, info] = cam.readSegments(0:3);
  printf('first frame of segments %s: %s %s\n', mat2str(info.Segment), mat2str(size(firsts)), class(firsts));

  section('To disk and back into camera memory');
  cam.startRecording(16, 0, 0, 16);
  cam.wait(5);
  cam.downloadRawFrame(fullfile(pwd(), 'burst.qrv'), 0, 0, 16, 0, 0);  % 16 frames from position 0
  cam.readFromDisk(0, 0, 0, 1, 0, 0);
  cam.waitForDisk(5);
  [~, current, final] = cam.diskProgress();
  printf('burst.qrv: %d of %d frames read back into camera memory\n', current, final);
  clear cam

  section('Files left here');
  for name = {'burst.tif', 'burst.qrv', 'preview.png'}
    listing = dir(name{1});
    printf('%-12s %9d bytes\n', name{1}, listing.bytes);
  end
end

function section(title)
  printf('\n== %s\n', title);
end
