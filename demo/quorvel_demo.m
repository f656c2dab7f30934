% The QuorvelML demo on the simulated cameras: version and the driver that
% answers, discovery, opening and closing, with every status number and its
% meaning.
function quorvel_demo()
  report = @(what, status) printf('  %-42s status %2d  %s\n', what, status, quorvelStatusText(status));

  printf('QuorvelML %s\n', QuorvelML('Version'));
  driver = QuorvelCamera.driverInfo();
  kinds = {'a real driver', 'the simulator'};
  printf('Driver: %s (%s)\n\n', driver.Path, kinds{driver.Simulated + 1});

  [failed, count, ids] = QuorvelML('EnumCameras', 0);
  printf('Cameras found (flag %d): %d\n', failed, count);
  printf('  id %d\n', ids);
  printf('\n');

  printf('Opening and closing\n');
  [status, first] = QuorvelML('OpenCamera', 0);
  report(sprintf('OpenCamera 0 -> camera %d', first), status);
  named = ids(end);
  [status, named] = QuorvelML('OpenCamera', named);
  report(sprintf('OpenCamera %d', named), status);
  [status, raw] = QuorvelML('OpenRawCamera', 'raw:demo-recording.qrv');
  report(sprintf('OpenRawCamera -> camera %d', raw), status);
  [status, ~] = QuorvelML('OpenCamera', 9999);
  report('OpenCamera 9999 (no such camera)', status);
  for id = [first named raw]
    report(sprintf('CloseCamera %d', id), QuorvelML('CloseCamera', id));
  end
  report(sprintf('CloseCamera %d again', first), QuorvelML('CloseCamera', first));

  demo_camera_control(ids, report);
  demo_live_images(ids, report);
  demo_recorded_burst();
  demo_segments_and_disk(report);

  printf('\nEvery status number\n');
  table = quorvelStatusText();
  for row = 1:rows(table)
    printf('  %2d  %s\n', table{row, 1}, table{row, 2});
  end
end

% Parameters with their limits, the camera information the module uses,
% services, and each camera's timing text.
function demo_camera_control(ids, report)
  parameters = {2, 'pixel format'; 7, 'extra frames'; 11, 'exposure'; 15, 'frame width'; ...
                16, 'frame height'; 35, 'open setting'};
  items = {0, 'camera type'; 7, 'model attribute'; 12, 'colour'; 24, 'addressing'};
  for id = ids
    [status, id] = QuorvelML('OpenCamera', id);
    printf('\nCamera %d (open: status %d)\n', id, status);
    printf('  %-4s %-14s %10s %10s %10s  %s\n', 'no.', 'parameter', 'value', 'limit 0', 'limit 1', 'status');
    for row = 1:rows(parameters)
      [status, value, limit0, limit1] = QuorvelML('GetParameter', id, parameters{row, 1});
      printf('  %-4d %-14s %10d %10d %10d  %d\n', parameters{row, 1}, parameters{row, 2}, value, limit0, ...
             limit1, status);
    end
    for row = 1:rows(items)
      [status, value] = QuorvelML('GetCameraInfo', id, items{row, 1});
      printf('  item %-2d %-16s %10d  %d\n', items{row, 1}, items{row, 2}, value, status);
    end
    [status, column] = QuorvelML('ReadGPSTiming', id, 40);
    printf('  timing  %s  %d\n', char(column(column > 0)'), status);
  end

  id = ids(1);
  printf('\nWriting and services on camera %d\n', id);
  report('SetParameter 11 (exposure) = 2500', QuorvelML('SetParameter', id, 11, 2500));
  report('SetParameter 15 (width) = 5000 (too wide)', QuorvelML('SetParameter', id, 15, 5000));
  report('SetParameter 15 (width) = 0 (re-apply)', QuorvelML('SetParameter', id, 15, 0));
  report('SendCfg', QuorvelML('SendCfg', id));
  [status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', id, 255);
  report('GetBrocParameters 255', status);
  printf('    record 255: %08x %08x %08x %08x\n', w0, w1, w2, w3);
  [status, ~, ~, ~, ~] = QuorvelML('GetBrocParameters', id, 256);
  report('GetBrocParameters 256 (out of range)', status);
  report('Trigger', QuorvelML('Trigger', id));
  report('CalibrateNoiseReduction 1', QuorvelML('CalibrateNoiseReduction', id, 1));
  report('EnableDiagnosticTrace ''all'' 1', QuorvelML('EnableDiagnosticTrace', id, 'all', 1));
  report('Reset', QuorvelML('Reset', id));
  report('EraseMemory', QuorvelML('EraseMemory', id));
  report('Trigger 9999 (not open)', QuorvelML('Trigger', 9999));
  for id = ids
    status = QuorvelML('CloseCamera', id);
  end
end

% The flagship example through the camera class: a 16-bit colour burst
% recorded into camera memory, read back and written as lossless PNG files
% with a contact sheet, in demo-output/burst.
function demo_recorded_burst()
  % Record, wait, save straight from camera memory to burst.tif, read back.
  printf('\nRecorded burst saved to TIFF (burst.tif)\n');
  cam = QuorvelCamera(1001);
  cam.PixelFormat = 7;   % 16-bit colour
  cam.Height = 48;
  cam.Width = 64;
  cam.startRecording(12, 6, 0, 12);
  cam.wait(30);
  cam.stopRecording();
  file = fullfile(pwd(), 'burst.tif');
  info = cam.saveFrames(file, 0:11, 'Overwrite', true);
  [frames, readInfo] = quorvelReadFrames(file);
  printf('  %d frames of %s %s, trigger indices %d to %d, status %d\n', numel(info.Position), ...
         mat2str(size(frames)(1:end - 1)), class(frames), info.TriggerIndex([1 end]), info.Status);
  printf('  read back equal to readFrames: %d\n', isequal(frames, cam.readFrames(0:11)) && isequaln(readInfo, info));
  printf('  first page: %s\n', imfinfo(file)(1).Comment);
end

% A segmented recording read back by segment number, written as one PNG
% strip (segments.png), then a raw download to disk (burst.qrv) read back
% into camera memory with the driver's progress reports.
function demo_segments_and_disk(report)
  camera = 1004;
  printf('\nSegments and disk transfers on camera %d\n', camera);
  QuorvelSim('setMemory', camera, 64, 500);
  [status, ~] = QuorvelML('OpenCamera', camera);
  report('OpenCamera', status);
  report('MemoryStartGrab: 16 frames in 4 segments', QuorvelML('MemoryStartGrab', camera, 16, 0, 3, 16));
  QuorvelSim('waitRecording', camera);
  [status, ready] = QuorvelML('GrabIsReady', camera);
  report(sprintf('GrabIsReady -> %d', ready), status);
  report('MemoryStopGrab', QuorvelML('MemoryStopGrab', camera));
  strip = [];
  for segment = 0:3
    [status, image] = QuorvelML('MemoryReadData', camera, 0, 0, segment);
    report(sprintf('MemoryReadData segment %d (first sample %d)', segment, image(1, 1)), status);
    strip = [strip, image, zeros(rows(image), 8, 'uint8')];
  end
  imwrite(strip, 'segments.png');
  printf('  wrote segments.png (%d x %d)\n', columns(strip), rows(strip));

  file = fullfile(pwd(), 'burst.qrv');
  report('MemoryDownloadRawFrame positions 4 to 7', QuorvelML('MemoryDownloadRawFrame', camera, file, 4, 0, 4, 0, 0));
  report('MemoryReadFromDisk to position 16', QuorvelML('MemoryReadFromDisk', camera, 0, 0, 16, 1, 0, 0));
  QuorvelSim('waitDiskRead', camera);
  [~, original] = QuorvelML('MemoryReadData', camera, 0, 0, 1);
  QuorvelSim('setInfo', camera, 24, 4);   % position addressing
  [status, restored] = QuorvelML('MemoryReadData', camera, 16, 0, 0);
  report(sprintf('frame at position 16 equals segment 1: %d', isequal(original, restored)), status);
  QuorvelSim('setInfo', camera, 24, 0);
  report('CloseCamera', QuorvelML('CloseCamera', camera));
end

% Live frames from every camera written as PNG files in the current folder,
% listed in live-images.txt beside them.
function demo_live_images(ids, report)
  printf('\nLive images (PNG files in %s)\n', pwd());
  listing = fopen('live-images.txt', 'w');
  fprintf(listing, 'QuorvelML live images from the simulated cameras\n\n');
  function save(image, name, status)
    imwrite(image, name);
    line = sprintf('%-34s %-6s %-13s status %d', name, class(image), mat2str(size(image)), status);
    printf('  %s\n', line);
    fprintf(listing, '%s\n', line);
  end
  for id = ids
    [~, ~] = QuorvelML('OpenCamera', id);
    [status, first, ~] = QuorvelML('SynchGrab', id, 0);
    report(sprintf('SynchGrab %d', id), status);
    save(first, sprintf('camera%d-synchgrab.png', id), status);
    [status, image, value] = QuorvelML('MemoryPreview', id);
    report(sprintf('MemoryPreview %d (preview value %d)', id, value), status);
    save(image, sprintf('camera%d-preview.png', id), status);
  end
  id = ids(end);
  status = QuorvelML('SetParameter', id, 2, 1);
  status = QuorvelML('SetParameter', id, 7, 1);
  [status, first, second] = QuorvelML('SynchGrab', id, 0);
  report(sprintf('SynchGrab %d, two 16-bit frames', id), status);
  save(first, sprintf('camera%d-16bit-frame1.png', id), status);
  save(second, sprintf('camera%d-16bit-frame2.png', id), status);
  status = QuorvelML('SetParameter', id, 7, 0);
  status = QuorvelML('SetParameter', id, 2, 0);
  fclose(listing);
end
