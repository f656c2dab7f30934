classdef QuorvelCamera < handle
  % QUORVELCAMERA  An open Quorvel camera as a MATLAB handle object.
  %
  %   cam = QuorvelCamera()             opens the first camera found
  %   cam = QuorvelCamera(1002)         opens the camera of that identifier
  %   cam = QuorvelCamera('raw:x.qrv')  opens a raw camera by its text (Id 0)
  %   delete(cam) or clear cam          closes it (close(cam) reports failures)
  %
  %   One handle per camera: making a second QuorvelCamera for a camera this
  %   session already holds is refused (QuorvelML:alreadyOpen); use the
  %   first handle, or close it first. A handle whose camera was closed
  %   elsewhere (a raw CloseCamera, QuorvelCamera.closeAll) or whose module
  %   was cleared (clear QuorvelML) reports IsOpen false and refuses every
  %   command with QuorvelML:closed.
  %
  %   Every method runs one or more QuorvelML commands on the camera. A
  %   non-zero status number becomes an error whose identifier names it,
  %   for example QuorvelML:grabFailed for 12, and whose message gives the
  %   camera, the command, the number and its meaning; QuorvelCamera.statusName
  %   lists the names. The raw QuorvelML commands stay available alongside.
  %
  %   Session
  %     ids = QuorvelCamera.list()        identifiers of the cameras found
  %     QuorvelCamera.closeAll()          closes every camera the class holds
  %
  %   Parameters and information
  %     cam.Width, cam.Height, cam.PixelFormat, cam.ExtraFrames   (read/write)
  %     cam.Type, cam.IsColour                                     (read only)
  %     [value, limits] = cam.getParameter(number)
  %     cam.setParameter(number, value)   refuses a fraction (QuorvelML:notWholeNumber),
  %                                       a value outside the limits (QuorvelML:outOfLimits)
  %                                       and a pixel format the camera cannot deliver
  %     list = cam.parameters()           every numbered parameter the camera answers
  %     value = cam.info(item);  cam.sendSettings();  w = cam.brocParameters(index)
  %
  %   Live images
  %     [first, second] = cam.grab()      two images (parameter 7 = 1: two frames)
  %     [image, value] = cam.preview()
  %
  %   Recording and readout
  %     cam.startRecording(a, b, segments, d);  cam.isReady();  cam.wait(seconds)
  %     cam.stopRecording();  [p1, p2] = cam.triggerPosition()
  %     image = cam.readFrame(position);  [frames, info] = cam.readFrames(positions)
  %     image = cam.readSegment(n);       [frames, info] = cam.readSegments(numbers)
  %     Range readouts stack frames along the last dimension and show their
  %     progress from ProgressThreshold frames on; info gives each frame's
  %     position, segment and place relative to the trigger.
  %
  %   Transfers, timing and services
  %     cam.downloadRawFrame(text, a, b, c, d, e);  cam.readFromDisk(a, b, c, d, e, f)
  %     cam.waitForDisk(seconds);  [finished, current, final] = cam.diskProgress()
  %     text = cam.timing()
  %     cam.trigger();  cam.reset();  cam.eraseMemory()
  %     cam.calibrateNoiseReduction(value);  cam.enableTrace(text, value)
  %
  %   help QuorvelCamera.<method> shows each method's help.
  %
  %   See also QuorvelML, quorvelStatusText.
  %
  %   Example, on the simulated cameras: open, set the image format, record
  %   with a trigger, read back with each frame's metadata, save, close.
  %
  %   >> QuorvelCamera.version()
  %   ans = 2.14.00
  %   >> QuorvelCamera.list()
  %   ans =
  %      1001   1002   1003   1004
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.info(0)                      % the camera type
  %   ans = 5
  %   >> cam.Width = 320;
  %   >> cam.Height = 240;
  %   >> cam.PixelFormat = 7;             % colour, 16 bits a sample
  %   >> cam.startRecording(8, 3, 0, 8);  % 8 frames, trigger on the fourth, one report at the end
  %   >> cam.wait(5);
  %   >> [frames, info] = cam.readFrames(0:7);
  %   >> size(frames)
  %   ans =
  %      240   320     3     8
  %   >> info.TriggerIndex
  %   ans =
  %     -3  -2  -1   0   1   2   3   4
  %   >> imwrite(frames(:, :, :, 4), [tempname() '.png']);   % the trigger frame, losslessly
  %   >> cam.close();                     % or delete(cam), or clear cam
  %   >> delete(cam)
  %   >> QuorvelSim('reset');              % the simulated cameras' default settings again

  properties (SetAccess = private)
    Id = []          % the identifier under which the camera is open
    Source = ''      % the text that named a raw camera; '' for a live camera
  end

  properties (Hidden, SetAccess = private)
    Token = 0        % this handle's claim on the camera; see heldCameras
  end

  properties
    ProgressThreshold = 20   % range readouts of at least this many frames show progress
  end

  properties (Dependent, SetAccess = private)
    IsOpen        % the camera is open in QuorvelML and this handle holds it
  end

  properties (Dependent)
    Width         % parameter 15, pixels per line
    Height        % parameter 16, lines per frame
    PixelFormat   % parameter 2
    ExtraFrames   % parameter 7: a live grab takes ExtraFrames + 1 frames
  end

  properties (Dependent, SetAccess = private)
    Type          % camera information item 0
    IsColour      % camera information item 12 is not 0
  end

  methods
    function obj = QuorvelCamera(which)
      % cam = QuorvelCamera([id or text])  Opens a camera; see help QuorvelCamera.
      if nargin < 1 || isempty(which)
        which = 0;
      end
      if ischar(which)
        refuseHeld(0);
        [status, id] = QuorvelML('OpenRawCamera', which);
        keyword = 'OpenRawCamera';
        opened = any(status == [0 7 10]);
        obj.Source = which;
      else
        if which == 0
          first = firstCameraFound();
          if first ~= 0
            refuseHeld(first);
          end
        else
          refuseHeld(which);
        end
        [status, id] = QuorvelML('OpenCamera', which);
        keyword = 'OpenCamera';
        opened = any(status == [0 5]);
      end
      if status ~= 0
        % A camera that opened but could not be set up is of no use to the
        % caller, who gets no object to close it with.
        if opened
          closed = QuorvelML('CloseCamera', double(id)); %#ok<NASGU> the open failure is what counts
        end
        QuorvelCamera.check(status, keyword, double(id));
      end
      obj.Id = double(id);
      obj.Token = heldCameras('claim', obj.Id);
    end

    function delete(obj)
      % delete(cam)  Closes the camera; a failure here is not reported (use close).
      %   >> cam = QuorvelCamera(1002);
      %   >> delete(cam)
      %   >> QuorvelSim('camera', 1002).open
      %   ans = 0
      if obj.IsOpen
        closed = QuorvelML('CloseCamera', obj.Id); %#ok<NASGU> a destructor raises nothing
        heldCameras('release', obj.Id);
      end
    end

    function close(obj)
      % cam.close()  Closes the camera; QuorvelML:closeFailed when the driver fails.
      %   Closing a camera that is already closed does nothing.
      %   >> cam = QuorvelCamera(1002);
      %   >> cam.close();
      %   >> cam.IsOpen
      %   ans = 0
      if obj.IsOpen
        run(obj, 1, 'CloseCamera');
        heldCameras('release', obj.Id);
      end
    end

    function open = get.IsOpen(obj)
      open = holds(obj) && moduleHolds(obj.Id);
      if ~open
        release(obj);
      end
    end

    function disp(obj)
      % disp(cam)  The camera's identity and image format, or that it is closed.
      %   >> cam = QuorvelCamera(1002);
      %   >> disp(cam)
      %     QuorvelCamera 1002: type 2, 640 x 480, pixel format 0
      %   >> delete(cam)
      if ~obj.IsOpen
        fprintf('  QuorvelCamera %s (closed)\n', num2str(obj.Id));
        return;
      end
      fprintf('  QuorvelCamera %d%s: type %d, %d x %d, pixel format %d\n', obj.Id, ...
              ifRaw(obj.Source), obj.Type, obj.Width, obj.Height, obj.PixelFormat);
    end

    function display(obj)
      % display(cam)  Shows the variable's name and disp(cam); Octave shows objects this way.
      %   >> cam = QuorvelCamera(1002)
      %   cam =
      %     QuorvelCamera 1002: type 2, 640 x 480, pixel format 0
      %   >> delete(cam)
      name = inputname(1);
      if ~isempty(name)
        fprintf('%s =\n', name);
      end
      disp(obj);
    end

    function [value, limits] = getParameter(obj, number)
      % [value, limits] = cam.getParameter(number)  Current value and [limit0 limit1].
      %   >> cam = QuorvelCamera(1002);
      %   >> [width, limits] = cam.getParameter(15)
      %   width = 640
      %   limits =
      %        16   4096
      %   >> delete(cam)
      out = run(obj, 4, 'GetParameter', number);
      value = double(out{2});
      limits = double([out{3} out{4}]);
    end

    function setParameter(obj, number, value)
      % cam.setParameter(number, value)  Writes a parameter within its limits.
      %   Refused before the driver sees it: a value that is not a whole
      %   number (QuorvelML:notWholeNumber), one outside the parameter's
      %   limits (QuorvelML:outOfLimits), and a pixel format (parameter 2)
      %   that the camera cannot deliver (the identifier a grab would give:
      %   QuorvelML:formatNotMono or QuorvelML:formatNotSupported).
      %   0 for the width (15) or height (16) re-applies the current value.
      %   >> cam = QuorvelCamera(1002);
      %   >> cam.setParameter(15, 320);
      %   >> cam.Width
      %   ans = 320
      %   >> cam.setParameter(15, 320.5)
      %   error: ...
      %   >> delete(cam)
      requireWholeNumber(obj, number, 'a parameter number');
      requireWholeNumber(obj, value, sprintf('parameter %d', number));
      reapply = value == 0 && any(number == [15 16]);
      if ~reapply
        [~, limits] = obj.getParameter(number);
        if value < min(limits) || value > max(limits)
          error('QuorvelML:outOfLimits', 'Camera %d: parameter %d takes values from %d to %d; %g is outside.', ...
                obj.Id, number, min(limits), max(limits), value);
        end
      end
      if number == 2
        refuseUndeliverableFormat(obj, value);
      end
      run(obj, 1, 'SetParameter', number, value);
    end

    function list = parameters(obj, numbers)
      % list = cam.parameters([numbers])  The numbered parameters the camera answers.
      %   Tries numbers (0 to 63 by default) and lists those whose value and
      %   limits read back: a struct array with Number, Property (the
      %   property that sets it, '' for none), Value and Limits. Without an
      %   output it prints the list as a table.
      %   >> cam = QuorvelCamera(1002);
      %   >> list = cam.parameters();
      %   >> list([list.Number] == 15)
      %   ans =
      %     ...
      %   >> delete(cam)
      if nargin < 2
        numbers = 0:63;
      end
      named = {2, 'PixelFormat'; 7, 'ExtraFrames'; 15, 'Width'; 16, 'Height'};
      list = struct('Number', {}, 'Property', {}, 'Value', {}, 'Limits', {});
      for number = numbers
        out = cell(1, 4);
        [out{:}] = QuorvelML('GetParameter', obj.Id, number);
        if out{1} ~= 0
          continue;
        end
        row = find([named{:, 1}] == number, 1);
        property = '';
        if ~isempty(row)
          property = named{row, 2};
        end
        list(end + 1) = struct('Number', number, 'Property', property, 'Value', double(out{2}), ...
                               'Limits', double([out{3} out{4}])); %#ok<AGROW>
      end
      if isempty(list) && ~obj.IsOpen
        raiseClosed(obj);
      end
      if nargout == 0
        fprintf('  %6s  %-12s %10s %10s %10s\n', 'number', 'property', 'value', 'limit 0', 'limit 1');
        for entry = list
          fprintf('  %6d  %-12s %10d %10d %10d\n', entry.Number, entry.Property, entry.Value, entry.Limits);
        end
        clear list
      end
    end

    function value = info(obj, item)
      % value = cam.info(item)  One camera information item (0 type, 12 colour, ...).
      %   >> cam = QuorvelCamera(1001);
      %   >> type = cam.info(0)
      %   type = 5
      %   >> delete(cam)
      out = run(obj, 2, 'GetCameraInfo', item);
      value = double(out{2});
    end

    function sendSettings(obj)
      % cam.sendSettings()  Prepares and sends the camera's settings.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.sendSettings();
      %   >> delete(cam)
      run(obj, 1, 'SendCfg');
    end

    function words = brocParameters(obj, index)
      % words = cam.brocParameters(index)  The four uint32 words of Broc record index (0 to 255).
      %   >> cam = QuorvelCamera(1001);
      %   >> words = cam.brocParameters(0)
      %   words =
      %     65601536  65601537  65601538  65601539
      %   >> delete(cam)
      out = run(obj, 5, 'GetBrocParameters', index);
      words = [out{2:5}];
    end

    function value = get.Width(obj)
      value = obj.getParameter(15);
    end
    function set.Width(obj, value)
      obj.setParameter(15, value);
    end
    function value = get.Height(obj)
      value = obj.getParameter(16);
    end
    function set.Height(obj, value)
      obj.setParameter(16, value);
    end
    function value = get.PixelFormat(obj)
      value = obj.getParameter(2);
    end
    function set.PixelFormat(obj, value)
      obj.setParameter(2, value);
    end
    function value = get.ExtraFrames(obj)
      value = obj.getParameter(7);
    end
    function set.ExtraFrames(obj, value)
      obj.setParameter(7, value);
    end
    function value = get.Type(obj)
      value = obj.info(0);
    end
    function value = get.IsColour(obj)
      value = obj.info(12) ~= 0;
    end

    function [first, second] = grab(obj, argument)
      % [first, second] = cam.grab([argument])  A live grab of ExtraFrames + 1 frames.
      %   With ExtraFrames 1 the two images are consecutive frames; with 0
      %   second is zero. argument (default 0) is passed to the driver.
      %   >> cam = QuorvelCamera(1002);
      %   >> cam.ExtraFrames = 1;
      %   >> [first, second] = cam.grab();
      %   >> size(second)
      %   ans =
      %      480   640
      %   >> delete(cam)
      if nargin < 2
        argument = 0;
      end
      out = run(obj, 3, 'SynchGrab', argument);
      [first, second] = out{2:3};
    end

    function [image, value] = preview(obj)
      % [image, value] = cam.preview()  A preview image and the driver's value with it.
      %   >> cam = QuorvelCamera(1001);
      %   >> [image, value] = cam.preview();
      %   >> class(image)
      %   ans = uint8
      %   >> delete(cam)
      out = run(obj, 3, 'MemoryPreview');
      image = out{2};
      value = out{3};
    end

    function startRecording(obj, a, b, segments, d)
      % cam.startRecording([a, b, segments, d])  Starts recording into camera memory.
      %   a, b and d go to the driver; segments is the last segment number of
      %   a segmented recording. Omitted values are 0.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
      %   >> cam.wait(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> [trigger, recorded] = cam.triggerPosition()
      %   trigger = 3
      %   recorded = 8
      %   >> cam.stopRecording();
      %   >> delete(cam)
      values = {0, 0, 0, 0};
      given = {};
      if nargin > 1, given{end + 1} = a; end
      if nargin > 2, given{end + 1} = b; end
      if nargin > 3, given{end + 1} = segments; end
      if nargin > 4, given{end + 1} = d; end
      values(1:numel(given)) = given;
      run(obj, 1, 'MemoryStartGrab', values{:});
    end

    function ready = isReady(obj)
      % cam.isReady()  True once the driver has reported a recording event since the start.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
      %   >> cam.wait(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> [trigger, recorded] = cam.triggerPosition()
      %   trigger = 3
      %   recorded = 8
      %   >> cam.stopRecording();
      %   >> delete(cam)
      out = run(obj, 2, 'GrabIsReady');
      ready = out{2} ~= 0;
      % The module answers "not ready" for a camera it does not hold.
      if ~ready && ~obj.IsOpen
        raiseClosed(obj);
      end
    end

    function wait(obj, timeout)
      % cam.wait([seconds])  Waits for the recording's report; QuorvelML:timeout after seconds (default 10).
      %   Returns once the driver has reported a recording event since the
      %   start (isReady). A recording whose report interval is its frame
      %   count reports once, at its end, so wait then waits for the end.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
      %   >> cam.wait(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> [trigger, recorded] = cam.triggerPosition()
      %   trigger = 3
      %   recorded = 8
      %   >> cam.stopRecording();
      %   >> delete(cam)
      if nargin < 2
        timeout = 10;
      end
      started = tic;
      while ~obj.isReady()
        if toc(started) > timeout
          error('QuorvelML:timeout', 'Camera %d: no recording event within %g seconds.', obj.Id, timeout);
        end
        pause(0.01);
      end
    end

    function waitUntilReady(obj, timeout)
      % cam.waitUntilReady([seconds])  The same as cam.wait(seconds).
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);
      %   >> cam.waitUntilReady(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> delete(cam)
      if nargin < 2
        timeout = 10;
      end
      obj.wait(timeout);
    end

    function stopRecording(obj)
      % cam.stopRecording()  Stops the recording; GrabIsReady reads 0 again.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
      %   >> cam.wait(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> [trigger, recorded] = cam.triggerPosition()
      %   trigger = 3
      %   recorded = 8
      %   >> cam.stopRecording();
      %   >> delete(cam)
      run(obj, 1, 'MemoryStopGrab');
    end

    function [first, second] = triggerPosition(obj)
      % [first, second] = cam.triggerPosition()  The recording's two trigger-position values.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
      %   >> cam.wait(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> [trigger, recorded] = cam.triggerPosition()
      %   trigger = 3
      %   recorded = 8
      %   >> cam.stopRecording();
      %   >> delete(cam)
      out = run(obj, 3, 'MemoryReadTriggerPosition');
      first = double(out{2});
      second = double(out{3});
    end

    function image = readFrame(obj, position, index)
      % image = cam.readFrame(position [, index])  One recorded frame by its readout position.
      %   position: a whole number from 0 (up to 2^64 - 1 as uint64); index
      %   (default 0) is passed to the driver.
      %   >> cam = QuorvelCamera(1002);
      %   >> cam.startRecording(8, 3, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> image = cam.readFrame(5);
      %   >> size(image)
      %   ans =
      %      480   640
      %   >> delete(cam)
      if nargin < 3
        index = 0;
      end
      [low, high] = splitPosition(position);
      out = run(obj, 2, 'MemoryReadData', low, high, index);
      image = out{2};
    end

    function [frames, info] = readFrames(obj, positions, progress)
      % [frames, info] = cam.readFrames(positions [, progress])  Recorded frames stacked along the last dimension.
      %   Mono frames stack along dimension 3, colour along 4. Each run of
      %   consecutive positions is read with one MemoryReadFrames call (a
      %   tenth of the frames a call when progress is shown). progress: true
      %   or false; by default shown from ProgressThreshold frames on.
      %   info: per frame read its Position, Segment (NaN: none) and
      %   TriggerIndex (position less the trigger position; NaN when the
      %   recording has none), and Status: 0, or the status number of the
      %   frame that ended the readout early. With info requested an early
      %   end keeps the frames read before it and raises nothing; without
      %   it, it raises the status number's error.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> [frames, info] = cam.readFrames(6:9);   % positions 8 and 9 were not recorded
      %   >> size(frames)
      %   ans =
      %      480   640     3     2
      %   >> info
      %   info =
      %     ...
      %   >> delete(cam)
      if nargin < 3
        progress = numel(positions) >= obj.ProgressThreshold;
      end
      requirePositions(positions);
      [frames, read, status] = readMany(obj, 'MemoryReadFrames', positions, progress, nargout > 1);
      if nargout > 1
        info = readoutInfo(obj, double(positions(1:read)), nan(1, read), status);
      end
    end

    function image = readSegment(obj, number)
      % image = cam.readSegment(number)  The first frame of one segment of a segmented recording.
      %   >> cam = QuorvelCamera(1004);
      %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
      %   >> image = cam.readSegment(2);
      %   >> [segments, info] = cam.readSegments(0:3);
      %   >> info.Segment
      %   ans =
      %      0   1   2   3
      %   >> delete(cam)
      out = run(obj, 2, 'MemoryReadData', 0, 0, number);
      image = out{2};
    end

    function [frames, info] = readSegments(obj, numbers, progress)
      % [frames, info] = cam.readSegments(numbers [, progress])  Segments stacked along the last dimension.
      %   As readFrames, with one MemoryReadSegments call per run of
      %   consecutive numbers; info.Segment holds the segment numbers, and
      %   the position (the module takes it from its segment table) is NaN.
      %   >> cam = QuorvelCamera(1004);
      %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
      %   >> image = cam.readSegment(2);
      %   >> [segments, info] = cam.readSegments(0:3);
      %   >> info.Segment
      %   ans =
      %      0   1   2   3
      %   >> delete(cam)
      if nargin < 3
        progress = numel(numbers) >= obj.ProgressThreshold;
      end
      [frames, read, status] = readMany(obj, 'MemoryReadSegments', numbers, progress, nargout > 1);
      if nargout > 1
        info = readoutInfo(obj, nan(1, read), double(numbers(1:read)), status);
      end
    end

    function downloadRawFrame(obj, text, a, b, c, d, e)
      % cam.downloadRawFrame(text, a, b, c, d, e)  Has the driver download a raw frame.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.qrv'];
      %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
      %   >> cam.readFromDisk(0, 0, 8, 0, 0, 0);
      %   >> cam.waitForDisk(5);
      %   >> [finished, current, final] = cam.diskProgress()
      %   finished = 1
      %   current = 8
      %   final = 8
      %   >> delete(file); delete(cam)
      run(obj, 1, 'MemoryDownloadRawFrame', text, a, b, c, d, e);
    end

    function readFromDisk(obj, a, b, c, d, e, f)
      % cam.readFromDisk(a, b, c, d, e, f)  Starts the driver's read of a recording back from disk.
      %   The read goes on after the call; follow it with diskProgress and
      %   wait for it with waitForDisk.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.qrv'];
      %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
      %   >> cam.readFromDisk(0, 0, 8, 0, 0, 0);
      %   >> cam.waitForDisk(5);
      %   >> [finished, current, final] = cam.diskProgress()
      %   finished = 1
      %   current = 8
      %   final = 8
      %   >> delete(file); delete(cam)
      run(obj, 1, 'MemoryReadFromDisk', a, b, c, d, e, f);
    end

    function [finished, current, final] = diskProgress(obj)
      % [finished, current, final] = cam.diskProgress()  How far the disk read has come.
      %   finished: true once the driver reported the read complete; current
      %   of final: the counts of its latest report (0 of 0 before any).
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.qrv'];
      %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
      %   >> cam.readFromDisk(0, 0, 8, 0, 0, 0);
      %   >> cam.waitForDisk(5);
      %   >> [finished, current, final] = cam.diskProgress()
      %   finished = 1
      %   current = 8
      %   final = 8
      %   >> delete(file); delete(cam)
      out = run(obj, 4, 'DiskReadProgress');
      finished = out{2} ~= 0;
      current = double(out{3});
      final = double(out{4});
    end

    function waitForDisk(obj, timeout, progress)
      % cam.waitForDisk([seconds [, progress]])  Waits until the disk read is complete.
      %   QuorvelML:timeout after seconds (default 10). progress true prints
      %   each new count the driver reports.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.qrv'];
      %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
      %   >> cam.readFromDisk(0, 0, 8, 0, 0, 0);
      %   >> cam.waitForDisk(5);
      %   >> [finished, current, final] = cam.diskProgress()
      %   finished = 1
      %   current = 8
      %   final = 8
      %   >> delete(file); delete(cam)
      if nargin < 2
        timeout = 10;
      end
      if nargin < 3
        progress = false;
      end
      started = tic;
      shown = -1;
      while true
        [finished, current, final] = obj.diskProgress();
        if progress && current ~= shown
          fprintf('Camera %d: disk read %d of %d\n', obj.Id, current, final);
          shown = current;
        end
        if finished
          return;
        end
        if toc(started) > timeout
          error('QuorvelML:timeout', 'Camera %d: the disk read did not finish within %g seconds (%d of %d).', ...
                obj.Id, timeout, current, final);
        end
        pause(0.01);
      end
    end

    function text = timing(obj)
      % text = cam.timing()  The camera's IRIG/GPS/PTP time as text.
      %   >> cam = QuorvelCamera(1002);   % a camera without a time source
      %   >> text = cam.timing()
      %   text = (NO IRIG/GPS/PTP DATA)
      %   >> delete(cam)
      out = run(obj, 2, 'ReadGPSTiming', 64);
      column = out{2};
      last = find(column == 0, 1) - 1;
      if isempty(last)
        last = numel(column);
      end
      text = char(column(1:last))';
    end

    function trigger(obj)
      % cam.trigger()  Software trigger.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.trigger();
      %   >> delete(cam)
      run(obj, 1, 'Trigger');
    end

    function reset(obj)
      % cam.reset()  Resets the camera.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.reset();
      %   >> delete(cam)
      run(obj, 1, 'Reset');
    end

    function eraseMemory(obj)
      % cam.eraseMemory()  Erases the camera's recording memory.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.eraseMemory();
      %   >> delete(cam)
      run(obj, 1, 'EraseMemory');
    end

    function calibrateNoiseReduction(obj, value)
      % cam.calibrateNoiseReduction(value)  Noise-reduction calibration; value goes to the driver.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.calibrateNoiseReduction(1);
      %   >> delete(cam)
      run(obj, 1, 'CalibrateNoiseReduction', value);
    end

    function enableTrace(obj, text, value)
      % cam.enableTrace(text, value)  Switches the driver's diagnostic trace.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.enableTrace('all', 1);
      %   >> delete(cam)
      run(obj, 1, 'EnableDiagnosticTrace', text, value);
    end
  end

  methods (Static)
    function ids = list(filter)
      % QuorvelCamera.list([filter])  Identifiers of the cameras the driver finds (at most 10).
      %   filter is passed to the driver; 0 (the default) lists every camera.
      %   >> ids = QuorvelCamera.list()
      %   ids =
      %      1001   1002   1003   1004
      if nargin < 1
        filter = 0;
      end
      [failed, count, found] = QuorvelML('EnumCameras', filter);
      if failed ~= 0
        error('QuorvelML:enumerationFailed', 'EnumCameras failed: the driver could not list the cameras.');
      end
      ids = double(found(1:count));
    end

    function closeAll()
      % QuorvelCamera.closeAll()  Closes every camera a QuorvelCamera of this session holds.
      %   Their handles then report IsOpen false. Cameras the driver fails to
      %   close stay held, and QuorvelML:closeFailed names them after the
      %   others are closed.
      %   >> a = QuorvelCamera(1001);
      %   >> b = QuorvelCamera(1002);
      %   >> QuorvelCamera.closeAll();
      %   >> [a.IsOpen, b.IsOpen]
      %   ans =
      %     0  0
      held = heldCameras('list');
      failed = [];
      for k = 1:size(held, 1)
        if QuorvelML('CloseCamera', held(k, 1)) == 0 || ~moduleHolds(held(k, 1))
          heldCameras('release', held(k, 1));
        else
          failed(end + 1) = held(k, 1); %#ok<AGROW>
        end
      end
      if ~isempty(failed)
        error('QuorvelML:closeFailed', 'CloseCamera failed for camera %s: %s.', mat2str(failed), ...
              quorvelStatusText(6));
      end
    end

    function setAdapterAddress(address)
      % QuorvelCamera.setAdapterAddress('192.168.1.10')  Network adapter for later lists and opens.
      %   >> QuorvelCamera.setAdapterAddress('192.168.1.10');
      if QuorvelML('SetNetAdapterIPAddress', address) ~= 0
        error('QuorvelML:adapterRefused', ...
              'SetNetAdapterIPAddress: the driver refused the adapter address %s (it is kept all the same).', address);
      end
    end

    function initPCIeMemory(value)
      % QuorvelCamera.initPCIeMemory(value)  Passes a PCIe memory setting to the driver.
      %   >> QuorvelCamera.initPCIeMemory(256);
      if QuorvelML('InitPCIeMemory', value) ~= 0
        error('QuorvelML:pcieMemoryRefused', 'InitPCIeMemory: the driver refused the value %g.', value);
      end
    end

    function preloadDriver(a, b, c)
      % QuorvelCamera.preloadDriver(a, b, c)  The driver's preload step with chosen values.
      %   >> QuorvelCamera.preloadDriver(0, 1, 0);
      QuorvelCamera.check(QuorvelML('PreLoadDriver', a, b, c), 'PreLoadDriver', []);
    end

    function text = version()
      % QuorvelCamera.version()  The module's version text, '2.14.00'.
      %   >> QuorvelCamera.version()
      %   ans = 2.14.00
      text = QuorvelML('Version');
    end

    function name = statusName(code)
      % QuorvelCamera.statusName(12) is 'grabFailed'; the error identifier is 'QuorvelML:' and the name.
      % QuorvelCamera.statusName() returns every code and name as an N-by-2 cell array.
      %   >> QuorvelCamera.statusName(12)
      %   ans = grabFailed
      if nargin == 0
        [~, name] = quorvelStatusText();
      else
        [~, name] = quorvelStatusText(code);
      end
    end

    function check(status, keyword, cameraId)
      % QuorvelCamera.check(status, keyword, cameraId)  Raises the error of a non-zero status number.
      %   cameraId may be [] for commands without a camera.
      %   >> QuorvelCamera.check(0, 'SynchGrab', 1002);   % 0 raises nothing
      %   >> QuorvelCamera.check(12, 'SynchGrab', 1002)
      %   error: Camera 1002: SynchGrab answered 12: ...
      if status == 0
        return;
      end
      if isempty(cameraId)
        where = keyword;
      else
        where = sprintf('Camera %d: %s', cameraId, keyword);
      end
      error(['QuorvelML:' QuorvelCamera.statusName(status)], '%s answered %d: %s.', ...
            where, double(status), quorvelStatusText(status));
    end
  end
end

% Helpers live outside the class so that methods() lists only what callers
% may use.

function out = run(obj, outputs, keyword, varargin)
  % Runs the keyword on the camera with the given number of outputs and
  % raises the error of a non-zero status number.
  out = runHeld(obj, outputs, keyword, varargin{:});
  QuorvelCamera.check(out{1}, keyword, obj.Id);
end

function out = runHeld(obj, outputs, keyword, varargin)
  % Runs the keyword on the camera this handle holds and returns every
  % output. A failure on a camera the module no longer holds is reported as
  % closed instead.
  if ~holds(obj)
    raiseClosed(obj);
  end
  out = cell(1, outputs);
  [out{:}] = QuorvelML(keyword, obj.Id, varargin{:});
  if out{1} ~= 0 && ~obj.IsOpen
    raiseClosed(obj);
  end
end

function raiseClosed(obj)
  error('QuorvelML:closed', 'Camera %s is closed.', num2str(obj.Id));
end

function held = holds(obj)
  % This handle's claim is still the session's claim on its camera.
  held = obj.Token ~= 0 && heldCameras('token', obj.Id) == obj.Token;
end

function release(obj)
  if holds(obj)
    heldCameras('release', obj.Id);
  end
end

function held = moduleHolds(id)
  % The module answers DiskReadProgress for every camera it holds and 13
  % for any other, without reaching the driver.
  [status, ~, ~, ~] = QuorvelML('DiskReadProgress', id);
  held = status == 0;
end

function id = firstCameraFound()
  % The camera an open of 0 takes; 0 when none is found.
  [failed, count, found] = QuorvelML('EnumCameras', 0);
  id = 0;
  if failed == 0 && count > 0
    id = double(found(1));
  end
end

function refuseHeld(id)
  % One handle per camera: a camera that a handle of this session holds
  % cannot be opened again; a claim whose camera the module lost is dropped.
  if heldCameras('token', id) == 0
    return;
  end
  if moduleHolds(id)
    error('QuorvelML:alreadyOpen', ['Camera %d is already open in this session: use its QuorvelCamera, ', ...
          'or close that first.'], id);
  end
  heldCameras('release', id);
end

function result = heldCameras(action, id)
  % The session's claims, one row [id token] per camera a handle holds.
  % Tokens are never reused, so a handle whose claim was released (closed,
  % closeAll, module cleared) can never hold a camera again. Handles are
  % not kept here, so clearing the last reference still deletes them.
  persistent claims lastToken
  if isempty(lastToken)
    claims = zeros(0, 2);
    lastToken = 0;
  end
  result = [];
  row = [];
  if nargin > 1
    row = find(claims(:, 1) == id, 1);
  end
  switch action
    case 'claim'
      lastToken = lastToken + 1;
      claims(end + 1, :) = [id lastToken];
      result = lastToken;
    case 'token'
      result = 0;
      if ~isempty(row)
        result = claims(row, 2);
      end
    case 'release'
      claims(row, :) = [];
    case 'list'
      result = claims;
  end
end

function requireWholeNumber(obj, value, what)
  if ~(isnumeric(value) && isscalar(value) && isreal(value) && value == fix(value))
    error('QuorvelML:notWholeNumber', 'Camera %d: %s takes a whole number; %s is not one.', ...
          obj.Id, what, mat2str(value));
  end
end

function refuseUndeliverableFormat(obj, format)
  % The refusal a grab would give for this format: a mono-only camera
  % delivers formats 0 and 1, and one of type 2 format 0 only.
  if format == 0 || obj.IsColour
    return;
  end
  if obj.Type == 2
    code = 18;
  elseif format ~= 1
    code = 3;
  else
    return;
  end
  error(['QuorvelML:' QuorvelCamera.statusName(code)], 'Camera %d: pixel format %d refused: %s.', ...
        obj.Id, format, quorvelStatusText(code));
end

function [frames, read, status] = readMany(obj, keyword, numbers, progress, keepPartial)
  % Reads each run of consecutive numbers with one call of the bulk keyword
  % into one stack along the last dimension; with progress shown, a tenth
  % of the frames a call. The first frame that fails ends the readout: with
  % keepPartial the frames before it are kept and its status number is
  % returned, otherwise its error is raised.
  if isinteger(numbers)
    numbers = uint64(numbers(:)');  % positions up to 2^64-1 stay exact
  else
    numbers = double(numbers(:)');
  end
  count = numel(numbers);
  chunk = min(count, 65536);  % the most one bulk call reads
  if progress
    chunk = max(1, ceil(count / 10));
  end
  frames = [];
  read = 0;
  status = 0;
  while read < count && status == 0
    first = numbers(read + 1);
    span = 1;
    while span < chunk && read + span < count && numbers(read + span + 1) - first == span  % no sum to saturate
      span = span + 1;
    end
    if first >= 2^32
      [status, block, got] = readBeyondBulk(obj, first, keepPartial);
    else
      out = runHeld(obj, 3, keyword, double(first), span);
      [status, block, got] = deal(double(out{1}), out{2}, double(out{3}));
    end
    if got > 0
      frames = placeFrames(frames, block, got, read, count);
      read = read + got;
    end
    if status ~= 0 && ~keepPartial
      QuorvelCamera.check(status, keyword, obj.Id);
    end
    if progress
      fprintf('Camera %d: read %d of %d frames\n', obj.Id, read, count);
    end
  end
  if read > 0 && read < count
    planes = repmat({':'}, 1, ndims(frames) - 1);
    frames = frames(planes{:}, 1:read);
  end
end

function [status, block, got] = readBeyondBulk(obj, position, keepPartial)
  % One frame at a position beyond the bulk commands' 32-bit first position.
  status = 0;
  block = [];
  got = 0;
  try
    block = obj.readFrame(position);
    got = 1;
  catch failure
    status = statusOf(failure);
    if status == 0 || ~keepPartial
      rethrow(failure);
    end
  end
end

function frames = placeFrames(frames, block, got, read, count)
  % Puts the got frames of block after the read ones in a stack made for
  % count frames; a block that is the whole readout is the stack itself.
  if got == count
    frames = block;
    return;
  end
  frameSize = size(block);
  if got > 1
    frameSize = frameSize(1:end - 1);
  end
  if isempty(frames)
    % Mono frames stack along dimension 3, colour frames along 4.
    frames = zeros([frameSize count], class(block));
  end
  planes = repmat({':'}, 1, numel(frameSize));
  frames(planes{:}, read + 1:read + got) = block;
end

function status = statusOf(failure)
  % The status number behind a QuorvelML:<name> error, or 0 for any other.
  status = 0;
  table = QuorvelCamera.statusName();
  name = regexprep(failure.identifier, '^QuorvelML:', '');
  row = find(strcmp(table(:, 2), name), 1);
  if ~isempty(row) && ~strcmp(name, 'ok')
    status = table{row, 1};
  end
end

function info = readoutInfo(obj, positions, segments, status)
  % Per frame read: position, segment and index relative to the trigger
  % position of the recording (NaN where the recording has none).
  triggerIndex = nan(size(positions));
  [triggerStatus, trigger, ~] = QuorvelML('MemoryReadTriggerPosition', obj.Id);
  if triggerStatus == 0
    triggerIndex = positions - double(trigger);
  end
  info = struct('Position', positions, 'Segment', segments, 'TriggerIndex', triggerIndex, 'Status', status);
end

function requirePositions(positions)
  % Readout positions are whole numbers from 0 on (up to 2^64-1 as uint64).
  if ~isnumeric(positions) || any(positions(:) < 0 | positions(:) ~= fix(positions(:)))
    error('QuorvelML:badPosition', 'A readout position is a whole number from 0 on.');
  end
end

function [low, high] = splitPosition(position)
  % A readout position (0 to 2^64-1, double or uint64) as its two 32-bit words.
  if ~isscalar(position)
    error('QuorvelML:badPosition', 'A readout position is one whole number from 0 on.');
  end
  requirePositions(position);
  position = uint64(position);
  low = double(bitand(position, uint64(4294967295)));
  high = double(bitshift(position, -32));
end

function text = ifRaw(source)
  if isempty(source)
    text = '';
  else
    text = sprintf(' (raw: %s)', source);
  end
end

% Tests on the simulated cameras (QuorvelSim): run with "test QuorvelCamera".

%!function expectError(call, identifier)
%!  try
%!    call();
%!  catch err
%!    assert(err.identifier, identifier);
%!    return;
%!  end
%!  error('no %s error raised', identifier);
%!endfunction

%!test  # one handle per camera, the first camera found included
%! QuorvelSim('reset');
%! a = QuorvelCamera(1001);
%! expectError(@() QuorvelCamera(1001), 'QuorvelML:alreadyOpen');
%! expectError(@() QuorvelCamera(), 'QuorvelML:alreadyOpen');
%! assert(a.IsOpen && a.Width > 0);
%! clear a
%! b = QuorvelCamera(1001);
%! assert(b.IsOpen);

%!test  # a camera closed elsewhere, or by closeAll, stays closed for its handle
%! QuorvelSim('reset');
%! a = QuorvelCamera(1001);
%! b = QuorvelCamera(1002);
%! assert(QuorvelML('CloseCamera', 1001), uint32(0));
%! assert(a.IsOpen, false);
%! expectError(@() a.trigger(), 'QuorvelML:closed');
%! again = QuorvelCamera(1001);
%! assert(a.IsOpen, false);
%! QuorvelCamera.closeAll();
%! assert(double([again.IsOpen b.IsOpen QuorvelSim('camera', 1001).open QuorvelSim('camera', 1002).open]), zeros(1, 4));
%! expectError(@() b.isReady(), 'QuorvelML:closed');

%!test  # a cleared module leaves its handles closed
%! QuorvelSim('reset');
%! a = QuorvelCamera(1001);
%! clear QuorvelML
%! assert(a.IsOpen, false);
%! expectError(@() a.getParameter(15), 'QuorvelML:closed');
%! assert(strfind(evalc('disp(a)'), '(closed)') > 0);
%! b = QuorvelCamera(1001);
%! assert(b.IsOpen);

%!test  # a readout that ends early keeps its frames and says where and why
%! QuorvelSim('reset');
%! QuorvelSim('setMemory', 1002, 8, 1000);
%! cam = QuorvelCamera(1002);
%! cam.Width = 16;  cam.Height = 4;
%! cam.startRecording(8, 5, 0, 8);
%! cam.wait(5);
%! cam.stopRecording();
%! [frames, info] = cam.readFrames(2:11, false);
%! assert(size(frames), [4 16 6]);
%! assert(info.Position, 2:7);
%! assert(info.TriggerIndex, -3:2);
%! assert(info.Status, 13);
%! assert(isnan(info.Segment));
%! expectError(@() cam.readFrames(2:11, false), 'QuorvelML:readFailed');

%!test  # a disk read back can be waited on and followed
%! QuorvelSim('reset');
%! cam = QuorvelCamera(1001);
%! cam.Width = 16;  cam.Height = 4;
%! cam.startRecording(6, 0, 0, 6);
%! cam.wait(5);
%! cam.stopRecording();
%! file = [tempname() '.qrv'];
%! cam.downloadRawFrame(file, 0, 0, 6, 0, 0);
%! cam.readFromDisk(0, 0, 6, 2, 0, 0);
%! output = evalc('cam.waitForDisk(5, true);');
%! [finished, current, final] = cam.diskProgress();
%! delete(file);
%! assert([finished current final], [true 6 6]);
%! assert(strfind(output, 'disk read 6 of 6') > 0);

%!test  # parameters lists what the camera answers, as getParameter reads it
%! QuorvelSim('reset');
%! cam = QuorvelCamera(1002);
%! list = cam.parameters();
%! width = list([list.Number] == 15);
%! [value, limits] = cam.getParameter(15);
%! assert({width.Property, width.Value, width.Limits}, {'Width', value, limits});
%! assert(numel(list) > 4 && all(arrayfun(@(p) p.Value == cam.getParameter(p.Number), list)));
