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
  %   was cleared (clear QuorvelML, clear functions) reports IsOpen false and
  %   refuses every command with QuorvelML:closed, even when the camera is
  %   opened again elsewhere.
  %
  %   Arguments are checked before any command runs: numbers must be whole
  %   and in range, texts texts; a refusal raises a QuorvelML:* error that
  %   names the argument (QuorvelML:badCameraId, QuorvelML:badPosition,
  %   QuorvelML:badSegment, QuorvelML:notWholeNumber, QuorvelML:notText,
  %   QuorvelML:missingArgument).
  %
  %   Every method runs one or more QuorvelML commands on the camera. A
  %   non-zero status number becomes an error whose identifier names it,
  %   for example QuorvelML:grabFailed for 12, and whose message gives the
  %   camera, the command, the number and its meaning; QuorvelCamera.statusName
  %   lists the names. The raw QuorvelML commands stay available alongside.
  %
  %   Session
  %     ids = QuorvelCamera.list()        identifiers of the cameras found
  %     d = QuorvelCamera.driverInfo()    the driver library's Path, and Simulated
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
  %     cam.startRecording(frames, trigger, segments, interval)
  %     cam.wait(seconds)                 waits for the recording's last report
  %     cam.waitUntilReady(seconds);  cam.isReady()   the first report
  %     n = cam.reportCount();  cam.stopRecording();  [p1, p2] = cam.triggerPosition()
  %     image = cam.readFrame(position);  [frames, info] = cam.readFrames(positions)
  %     image = cam.readSegment(n);       [frames, info] = cam.readSegments(numbers)
  %     Range readouts stack frames along the last dimension and show their
  %     progress from ProgressThreshold frames on; info gives each frame's
  %     position, segment and place relative to the trigger.
  %
  %   Saving to TIFF files, straight from camera memory (memory stays flat)
  %     info = cam.saveFrames(file, positions)    one page per frame; 'Overwrite', true
  %     info = cam.saveSegments(file, numbers)    replaces an existing file
  %     [frames, info] = quorvelReadFrames(file)  gives back readFrames' stack and info
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
  %   >> file = [tempname() '.tif'];
  %   >> saved = cam.saveFrames(file, 0:7);   % straight from camera memory to a multi-page TIFF
  %   >> [back, backInfo] = quorvelReadFrames(file);
  %   >> isequal(back, frames)
  %   ans = 1
  %   >> delete(file);
  %   >> cam.close();                     % or delete(cam), or clear cam
  %   >> delete(cam)
  %   >> QuorvelSim('reset');              % the simulated cameras' default settings again

  properties (SetAccess = private)
    Id = []          % the identifier under which the camera is open
    Source = ''      % the text that named a raw camera; '' for a live camera
  end

  properties (Hidden, SetAccess = private)
    Serial = 0       % the module's serial of the open this handle holds
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
        QuorvelCamera.requireText([], which, 'QuorvelCamera', 'a raw camera''s text');
        QuorvelCamera.refuseHeld(0);
        [status, id] = QuorvelML('OpenRawCamera', which);
        keyword = 'OpenRawCamera';
        opened = any(status == [0 7 10]);
        obj.Source = which;
      else
        QuorvelCamera.requireWhole([], which, 'QuorvelCamera', 'the camera id', 2^32 - 2, 'QuorvelML:badCameraId');
        if which == 0
          first = QuorvelCamera.firstCameraFound();
          if first ~= 0
            QuorvelCamera.refuseHeld(first);
          end
        else
          QuorvelCamera.refuseHeld(which);
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
      obj.Serial = QuorvelCamera.serialOf(obj.Id);
      QuorvelCamera.claims('claim', obj.Id, obj.Serial);
    end

    function delete(obj)
      % delete(cam)  Closes the camera; a failure here is not reported (use close).
      %   >> cam = QuorvelCamera(1002);
      %   >> delete(cam)
      %   >> QuorvelSim('camera', 1002).open
      %   ans = 0
      if obj.IsOpen
        closed = QuorvelML('CloseCamera', obj.Id); %#ok<NASGU> a destructor raises nothing
        QuorvelCamera.claims('release', obj.Id, obj.Serial);
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
        QuorvelCamera.run(obj, 1, 'CloseCamera');
        QuorvelCamera.claims('release', obj.Id, obj.Serial);
      end
    end

    function open = get.IsOpen(obj)
      % The module's serial for the id changes with every close and open,
      % so a camera closed and opened again elsewhere is not this handle's.
      open = obj.Serial ~= 0 && QuorvelCamera.serialOf(obj.Id) == obj.Serial;
      if ~open
        QuorvelCamera.claims('release', obj.Id, obj.Serial);
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
      raw = '';
      if ~isempty(obj.Source)
        raw = sprintf(' (raw: %s)', obj.Source);
      end
      fprintf('  QuorvelCamera %d%s: type %d, %d x %d, pixel format %d\n', obj.Id, raw, obj.Type, obj.Width, ...
              obj.Height, obj.PixelFormat);
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
      %   number: the parameter's number (15 the width, 16 the height, 2 the
      %   pixel format, 7 the extra frames); a name is refused.
      %   >> cam = QuorvelCamera(1002);
      %   >> [width, limits] = cam.getParameter(15)
      %   width = 640
      %   limits =
      %        16   4096
      %   >> delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'getParameter', 'a parameter number');
      QuorvelCamera.requireWhole(obj, number, 'getParameter', 'the parameter number', 2^32 - 1);
      out = QuorvelCamera.run(obj, 4, 'GetParameter', number);
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
      QuorvelCamera.requireArguments(obj, nargin - 1, 2, 'setParameter', 'a parameter number and a value');
      QuorvelCamera.requireWhole(obj, number, 'setParameter', 'the parameter number', 2^32 - 1);
      QuorvelCamera.requireWhole(obj, value, '', sprintf('parameter %g', number), 2^32 - 1);
      reapply = value == 0 && any(number == [15 16]);
      if ~reapply
        [~, limits] = obj.getParameter(number);
        if value < min(limits) || value > max(limits)
          error('QuorvelML:outOfLimits', 'Camera %d: parameter %d takes values from %d to %d; %g is outside.', ...
                obj.Id, number, min(limits), max(limits), value);
        end
      end
      if number == 2
        QuorvelCamera.refuseUndeliverableFormat(obj, value);
      end
      QuorvelCamera.run(obj, 1, 'SetParameter', number, value);
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
      QuorvelCamera.requireWhole(obj, numbers, 'parameters', 'a parameter number', 2^32 - 1, '', false);
      list = struct('Number', {}, 'Property', {}, 'Value', {}, 'Limits', {});
      for number = numbers(:)'
        out = cell(1, 4);
        [out{:}] = QuorvelML('GetParameter', obj.Id, number);
        if out{1} ~= 0
          continue;
        end
        list(end + 1) = struct('Number', double(number), 'Property', QuorvelCamera.propertyOf(number), ...
                               'Value', double(out{2}), 'Limits', double([out{3} out{4}])); %#ok<AGROW>
      end
      if isempty(list) && ~obj.IsOpen
        QuorvelCamera.raiseClosed(obj);
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
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'info', 'an item number');
      QuorvelCamera.requireWhole(obj, item, 'info', 'the item number', 2^32 - 1);
      out = QuorvelCamera.run(obj, 2, 'GetCameraInfo', item);
      value = double(out{2});
    end

    function sendSettings(obj)
      % cam.sendSettings()  Prepares and sends the camera's settings.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.sendSettings();
      %   >> delete(cam)
      QuorvelCamera.run(obj, 1, 'SendCfg');
    end

    function words = brocParameters(obj, index)
      % words = cam.brocParameters(index)  The four uint32 words of Broc record index (0 to 255).
      %   >> cam = QuorvelCamera(1001);
      %   >> words = cam.brocParameters(0)
      %   words =
      %     65601536  65601537  65601538  65601539
      %   >> delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'brocParameters', 'a record index');
      QuorvelCamera.requireWhole(obj, index, 'brocParameters', 'the record index', 2^32 - 1);
      out = QuorvelCamera.run(obj, 5, 'GetBrocParameters', index);
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
      QuorvelCamera.requireWhole(obj, argument, 'grab', 'the argument', 2^32 - 1);
      out = QuorvelCamera.run(obj, 3, 'SynchGrab', argument);
      [first, second] = out{2:3};
    end

    function [image, value] = preview(obj)
      % [image, value] = cam.preview()  A preview image and the driver's value with it.
      %   >> cam = QuorvelCamera(1001);
      %   >> [image, value] = cam.preview();
      %   >> class(image)
      %   ans = uint8
      %   >> delete(cam)
      out = QuorvelCamera.run(obj, 3, 'MemoryPreview');
      image = out{2};
      value = out{3};
    end

    function startRecording(obj, frames, trigger, segments, interval)
      % cam.startRecording([frames, trigger, segments, interval])  Starts recording into camera memory.
      %   frames: how many to record (0: until the memory is full); trigger:
      %   the frame the trigger falls on; segments: the last segment number
      %   of a segmented recording; interval: the driver reports after every
      %   interval-th frame and after the last (0 as 1). Omitted values are 0.
      %   All four go to the driver as they are. wait waits for the last report.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);   % 8 frames, trigger on the fourth, one report at the end
      %   >> cam.wait(5);
      %   >> [trigger, recorded] = cam.triggerPosition()
      %   trigger = 3
      %   recorded = 8
      %   >> cam.stopRecording();
      %   >> delete(cam)
      values = {0, 0, 0, 0};
      given = {};
      if nargin > 1, given{end + 1} = frames; end
      if nargin > 2, given{end + 1} = trigger; end
      if nargin > 3, given{end + 1} = segments; end
      if nargin > 4, given{end + 1} = interval; end
      values(1:numel(given)) = given;
      names = {'the frame count', 'the trigger frame', 'the last segment number', 'the report interval'};
      for k = 1:4
        QuorvelCamera.requireWhole(obj, values{k}, 'startRecording', names{k}, 2^32 - 1);
      end
      out = QuorvelCamera.callHeld(obj, 1, 'MemoryStartGrab', values{:});
      if out{1} == 12 && QuorvelCamera.recordingRuns(obj)
        error('QuorvelML:grabFailed', ['Camera %d: MemoryStartGrab answered 12: a recording this handle ' ...
              'started is still running; stop it first with stopRecording, or wait for its end with wait.'], obj.Id);
      end
      QuorvelCamera.check(out{1}, 'MemoryStartGrab', obj.Id);
      QuorvelCamera.claims('expect', obj.Id, obj.Serial, QuorvelCamera.reportsOf(values{1}, values{4}));
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
      out = QuorvelCamera.run(obj, 2, 'GrabIsReady');
      ready = out{2} ~= 0;
      % The module answers "not ready" for a camera it does not hold.
      if ~ready && ~obj.IsOpen
        QuorvelCamera.raiseClosed(obj);
      end
    end

    function count = reportCount(obj)
      % count = cam.reportCount()  The recording reports the driver made since the start.
      %   Example:
      %     >> QuorvelSim('reset');
      %     >> cam = QuorvelCamera(1001);
      %     >> cam.startRecording(40, 0, 0, 10);
      %     >> cam.wait(5);
      %     >> cam.reportCount()
      %     ans = 4
      out = QuorvelCamera.run(obj, 2, 'FrameReadyCount');
      count = double(out{2});
    end

    function wait(obj, timeout, reports)
      % cam.wait([seconds [, reports]])  Waits for the recording's end: its last report.
      %   A recording started with startRecording(frames, trigger, segments,
      %   interval) ends with its report number ceil(frames / interval)
      %   (interval 0 as 1); give reports to wait for another count, and
      %   use waitUntilReady to wait for the first report only. A recording
      %   of frames 0 (until the memory is full) has no known end: give
      %   reports. QuorvelML:timeout after seconds (default 10).
      %   Example:
      %     >> QuorvelSim('reset');
      %     >> cam = QuorvelCamera(1002);
      %     >> cam.startRecording(100, 40, 0, 10);
      %     >> cam.wait(5);
      %     >> frames = cam.readFrames(0:99, false);
      %     >> size(frames, 3)
      %     ans = 100
      if nargin < 2
        timeout = 10;
      end
      if nargin < 3
        reports = QuorvelCamera.claims('expected', obj.Id, obj.Serial);
      else
        QuorvelCamera.requireWhole(obj, reports, 'wait', 'the report count', 2^32 - 1);
      end
      if isnan(reports) || isinf(reports)
        error('QuorvelML:unknownEnd', ['Camera %d: the end of the recording is unknown (this handle started ' ...
              'none of a known frame count since its last stop): wait for a number of reports with ' ...
              'wait(seconds, reports), or for the first with waitUntilReady.'], obj.Id);
      end
      started = tic;
      count = obj.reportCount();
      while count < reports
        if toc(started) > timeout
          error('QuorvelML:timeout', 'Camera %d: the recording did not end within %g seconds (%d of %d reports).', ...
                obj.Id, timeout, count, reports);
        end
        pause(0.01);
        count = obj.reportCount();
      end
    end

    function waitUntilReady(obj, timeout)
      % cam.waitUntilReady([seconds])  Waits for the recording's first report (isReady).
      %   A recording that reports more than once goes on after it; wait
      %   waits for its end. QuorvelML:timeout after seconds (default 10).
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(40, 0, 0, 10);   % reports after every 10th frame
      %   >> cam.waitUntilReady(5);
      %   >> cam.isReady()
      %   ans = 1
      %   >> cam.wait(5);                        % the fourth report: the recording's end
      %   >> cam.reportCount()
      %   ans = 4
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

    function stopRecording(obj)
      % cam.stopRecording()  Stops the recording; GrabIsReady reads 0 again.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 3, 0, 8);
      %   >> cam.wait(5);
      %   >> cam.stopRecording();
      %   >> cam.isReady()
      %   ans = 0
      %   >> delete(cam)
      QuorvelCamera.run(obj, 1, 'MemoryStopGrab');
      QuorvelCamera.claims('expect', obj.Id, obj.Serial, NaN);
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
      out = QuorvelCamera.run(obj, 3, 'MemoryReadTriggerPosition');
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
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'readFrame', 'a position');
      if nargin < 3
        index = 0;
      end
      QuorvelCamera.requireWhole(obj, position, 'readFrame', 'the position', intmax('uint64'), 'QuorvelML:badPosition');
      QuorvelCamera.requireWhole(obj, index, 'readFrame', 'the index', 2^32 - 1);
      position = uint64(position);
      low = double(bitand(position, uint64(4294967295)));
      high = double(bitshift(position, -32));
      out = QuorvelCamera.run(obj, 2, 'MemoryReadData', low, high, index);
      image = out{2};
    end

    function [frames, info] = readFrames(obj, positions, progress)
      % [frames, info] = cam.readFrames(positions [, progress])  Recorded frames stacked along the last dimension.
      %   Mono frames stack along dimension 3, colour along 4. positions are
      %   whole numbers from 0 to 2^64 - 1 (as uint64 beyond 2^53). Each run
      %   of consecutive positions is read with one MemoryReadFrames call (a
      %   tenth of the frames a call when progress is shown). progress: true
      %   or false; by default shown from ProgressThreshold frames on.
      %   info: per frame read its Position, Segment (NaN: none) and
      %   TriggerIndex (position less the trigger position; NaN when the
      %   recording has none), and Status: 0, or the status number of the
      %   frame that ended the readout early. With info requested an early
      %   end keeps the frames read before it and raises nothing; without
      %   it, it raises the status number's error, naming the position.
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
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'readFrames', 'positions');
      QuorvelCamera.requireWhole(obj, positions, 'readFrames', 'a position', intmax('uint64'), 'QuorvelML:badPosition', ...
                                 false);
      if nargin < 3
        progress = numel(positions) >= obj.ProgressThreshold;
      end
      % Integer positions stay integers, so those beyond 2^53 reach the driver exactly.
      [frames, read, status] = QuorvelCamera.readMany(obj, 'MemoryReadFrames', 'position', positions, ...
                                                      progress, nargout > 1);
      if nargout > 1
        info = QuorvelCamera.readoutInfo(obj, double(positions(1:read)), nan(1, read), status);
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
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'readSegment', 'a segment number');
      QuorvelCamera.requireWhole(obj, number, 'readSegment', 'the segment number', 2^32 - 1, 'QuorvelML:badSegment');
      out = QuorvelCamera.run(obj, 2, 'MemoryReadData', 0, 0, number);
      image = out{2};
    end

    function [frames, info] = readSegments(obj, numbers, progress)
      % [frames, info] = cam.readSegments(numbers [, progress])  Segments stacked along the last dimension.
      %   As readFrames, with one MemoryReadSegments call per run of
      %   consecutive numbers (whole numbers from 0 to 2^32 - 1); info.Segment
      %   holds the segment numbers, and the position (the module takes it
      %   from its segment table) is NaN.
      %   >> cam = QuorvelCamera(1004);
      %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
      %   >> image = cam.readSegment(2);
      %   >> [segments, info] = cam.readSegments(0:3);
      %   >> info.Segment
      %   ans =
      %      0   1   2   3
      %   >> delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'readSegments', 'segment numbers');
      QuorvelCamera.requireWhole(obj, numbers, 'readSegments', 'a segment number', 2^32 - 1, ...
                                 'QuorvelML:badSegment', false);
      if nargin < 3
        progress = numel(numbers) >= obj.ProgressThreshold;
      end
      [frames, read, status] = QuorvelCamera.readMany(obj, 'MemoryReadSegments', 'segment', double(numbers), ...
                                                      progress, nargout > 1);
      if nargout > 1
        info = QuorvelCamera.readoutInfo(obj, nan(1, read), double(numbers(1:read)), status);
      end
    end

    function downloadRawFrame(obj, text, a, b, c, d, e)
      % cam.downloadRawFrame(text, a, b, c, d, e)  Has the driver download a raw frame.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.qrv'];
      %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
      %   >> exist(file, 'file')
      %   ans = 2
      %   >> delete(file); delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 6, 'downloadRawFrame', 'a file name and five numbers');
      QuorvelCamera.requireText(obj, text, 'downloadRawFrame', 'the file name');
      numbers = {a, b, c, d, e};
      for k = 1:5
        QuorvelCamera.requireWhole(obj, numbers{k}, 'downloadRawFrame', sprintf('number %d', k), 2^32 - 1);
      end
      QuorvelCamera.run(obj, 1, 'MemoryDownloadRawFrame', text, numbers{:});
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
      QuorvelCamera.requireArguments(obj, nargin - 1, 6, 'readFromDisk', 'six numbers');
      numbers = {a, b, c, d, e, f};
      for k = 1:6
        QuorvelCamera.requireWhole(obj, numbers{k}, 'readFromDisk', sprintf('number %d', k), 2^32 - 1);
      end
      QuorvelCamera.run(obj, 1, 'MemoryReadFromDisk', numbers{:});
    end

    function [finished, current, final] = diskProgress(obj)
      % [finished, current, final] = cam.diskProgress()  How far the disk read has come.
      %   finished: true once the driver reported the read complete; current
      %   of final: the counts of its latest report (0 of 0 before any).
      %   >> cam = QuorvelCamera(1003);   % no disk read yet
      %   >> [finished, current, final] = cam.diskProgress()
      %   finished = 0
      %   current = 0
      %   final = 0
      %   >> delete(cam)
      out = QuorvelCamera.run(obj, 4, 'DiskReadProgress');
      finished = out{2} ~= 0;
      current = double(out{3});
      final = double(out{4});
    end

    function waitForDisk(obj, timeout, progress)
      % cam.waitForDisk([seconds [, progress]])  Waits until the disk read is complete.
      %   QuorvelML:timeout after seconds (default 10). progress true prints
      %   the count read at each tenth of the read and at its end, as
      %   readFrames does.
      %   >> cam = QuorvelCamera(1002);
      %   >> cam.startRecording(4, 0, 0, 4); cam.wait(5); file = [tempname() '.qrv'];
      %   >> cam.downloadRawFrame(file, 0, 0, 4, 0, 0); cam.readFromDisk(0, 0, 4, 0, 0, 0);
      %   >> cam.waitForDisk(5);
      %   >> cam.diskProgress()
      %   ans = 1
      %   >> delete(file); delete(cam)
      if nargin < 2
        timeout = 10;
      end
      if nargin < 3
        progress = false;
      end
      started = tic;
      shownTenth = 0;
      while true
        [finished, current, final] = obj.diskProgress();
        tenth = 0;
        if final > 0
          tenth = floor(10 * min(current, final) / final);
        end
        if progress && (tenth > shownTenth || (finished && shownTenth < 10))
          fprintf('Camera %d: disk read %d of %d frames\n', obj.Id, current, final);
          shownTenth = max(tenth, 10 * finished);
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
      out = QuorvelCamera.run(obj, 2, 'ReadGPSTiming', 64);
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
      QuorvelCamera.run(obj, 1, 'Trigger');
    end

    function reset(obj)
      % cam.reset()  Resets the camera.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.reset();
      %   >> delete(cam)
      QuorvelCamera.run(obj, 1, 'Reset');
    end

    function eraseMemory(obj)
      % cam.eraseMemory()  Erases the camera's recording memory.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.eraseMemory();
      %   >> delete(cam)
      QuorvelCamera.run(obj, 1, 'EraseMemory');
    end

    function calibrateNoiseReduction(obj, value)
      % cam.calibrateNoiseReduction(value)  Noise-reduction calibration; value goes to the driver.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.calibrateNoiseReduction(1);
      %   >> delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 1, 'calibrateNoiseReduction', 'a value');
      QuorvelCamera.requireWhole(obj, value, 'calibrateNoiseReduction', 'the value', 2^32 - 1);
      QuorvelCamera.run(obj, 1, 'CalibrateNoiseReduction', value);
    end

    function enableTrace(obj, text, value)
      % cam.enableTrace(text, value)  Switches the driver's diagnostic trace.
      %   >> cam = QuorvelCamera(1001);
      %   >> cam.enableTrace('all', 1);
      %   >> delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 2, 'enableTrace', 'a text and a value');
      QuorvelCamera.requireText(obj, text, 'enableTrace', 'the trace text');
      QuorvelCamera.requireWhole(obj, value, 'enableTrace', 'the value', 2^32 - 1);
      QuorvelCamera.run(obj, 1, 'EnableDiagnosticTrace', text, value);
    end
  end

  methods
    function info = saveFrames(obj, file, positions, varargin)
      % info = cam.saveFrames(file, positions, ...)  Recorded frames saved to a multi-page TIFF file.
      %   One uncompressed page per frame, in the order given, straight from
      %   camera memory: memory stays flat however many frames. Each page
      %   holds the values readFrames gives (mono: one sample per pixel;
      %   colour: RGB in the stack's plane order; 8 or 16 bits as its class)
      %   and a JSON ImageDescription with its position, segment and
      %   trigger index; the first page also the camera, size, pixel format,
      %   module version and time of the save. Files beyond 4 GiB are BigTIFF.
      %   Options: 'Overwrite' (false: an existing file is refused with
      %   QuorvelML:fileExists), 'Progress' (shown as readFrames shows it).
      %   Positions as readFrames takes them. A frame that fails ends the save: info
      %   (as readFrames') says which frames the file holds and the status
      %   that ended it; without info its error is raised. A failed write
      %   raises QuorvelML:fileWrite naming the file. Whatever ends the save,
      %   Ctrl-C included, the file holds every frame saved before it.
      %   quorvelReadFrames reads the file back.
      %   >> cam = QuorvelCamera(1002);
      %   >> cam.startRecording(8, 3, 0, 8); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.tif'];
      %   >> info = cam.saveFrames(file, 0:7);
      %   >> [frames, back] = quorvelReadFrames(file);
      %   >> isequal(frames, cam.readFrames(0:7)) && isequaln(back, info)
      %   ans = 1
      %   >> delete(file); delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 2, 'saveFrames', 'a file name and positions');
      QuorvelCamera.requireText(obj, file, 'saveFrames', 'the file name');
      QuorvelCamera.requireWhole(obj, positions, 'saveFrames', 'a position', intmax('uint64'), 'QuorvelML:badPosition', ...
                                 false);
      info = saveRecorded(obj, 'MemorySaveFrames', file, positions, nargout > 0, varargin);
    end

    function info = saveSegments(obj, file, numbers, varargin)
      % info = cam.saveSegments(file, numbers, ...)  Segments saved to a multi-page TIFF file.
      %   As saveFrames, each segment read as readSegments reads it; the
      %   pages' position and trigger index are null, as readSegments' info
      %   gives NaN.
      %   >> cam = QuorvelCamera(1004);
      %   >> cam.startRecording(12, 0, 3, 12); cam.wait(5); cam.stopRecording();
      %   >> file = [tempname() '.tif'];
      %   >> info = cam.saveSegments(file, 0:3);
      %   >> info.Segment
      %   ans =
      %      0   1   2   3
      %   >> delete(file); delete(cam)
      QuorvelCamera.requireArguments(obj, nargin - 1, 2, 'saveSegments', 'a file name and segment numbers');
      QuorvelCamera.requireText(obj, file, 'saveSegments', 'the file name');
      QuorvelCamera.requireWhole(obj, numbers, 'saveSegments', 'a segment number', 2^32 - 1, 'QuorvelML:badSegment', ...
                                 false);
      info = saveRecorded(obj, 'MemorySaveSegments', file, numbers, nargout > 0, varargin);
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
      QuorvelCamera.requireWhole([], filter, 'QuorvelCamera.list', 'the filter', 2^32 - 1);
      [failed, count, found] = QuorvelML('EnumCameras', filter);
      if failed ~= 0
        error('QuorvelML:enumerationFailed', 'EnumCameras failed: the driver could not list the cameras.');
      end
      ids = double(found(1:count));
    end

    function info = driverInfo()
      % info = QuorvelCamera.driverInfo()  Which driver library answers.
      %   Path: the file of the driver library as the dynamic loader
      %   resolved it ('' where it cannot tell); Simulated: true for the
      %   simulated driver, which alone exports its marker symbol.
      %   Example:
      %     >> info = QuorvelCamera.driverInfo();
      %     >> info.Simulated
      %     ans = 1
      [path, simulated] = QuorvelML('DriverInfo');
      info = struct('Path', path, 'Simulated', simulated ~= 0);
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
      held = QuorvelCamera.claims('list');
      failed = [];
      for k = 1:size(held, 1)
        [id, serial] = deal(held(k, 1), held(k, 2));
        if QuorvelCamera.serialOf(id) ~= serial || QuorvelML('CloseCamera', id) == 0
          QuorvelCamera.claims('release', id, serial);
        else
          failed(end + 1) = id; %#ok<AGROW>
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
      QuorvelCamera.requireText([], address, 'QuorvelCamera.setAdapterAddress', 'the address');
      if QuorvelML('SetNetAdapterIPAddress', address) ~= 0
        error('QuorvelML:adapterRefused', ...
              'SetNetAdapterIPAddress: the driver refused the adapter address %s (it is kept all the same).', address);
      end
    end

    function initPCIeMemory(value)
      % QuorvelCamera.initPCIeMemory(value)  Passes a PCIe memory setting to the driver.
      %   >> QuorvelCamera.initPCIeMemory(256);
      QuorvelCamera.requireWhole([], value, 'QuorvelCamera.initPCIeMemory', 'the value', 2^32 - 1);
      if QuorvelML('InitPCIeMemory', value) ~= 0
        error('QuorvelML:pcieMemoryRefused', 'InitPCIeMemory: the driver refused the value %g.', value);
      end
    end

    function preloadDriver(a, b, c)
      % QuorvelCamera.preloadDriver(a, b, c)  The driver's preload step with chosen values.
      %   >> QuorvelCamera.preloadDriver(0, 1, 0);
      values = {a, b, c};
      for k = 1:3
        QuorvelCamera.requireWhole([], values{k}, 'QuorvelCamera.preloadDriver', sprintf('value %d', k), 2^32 - 1);
      end
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
      error(['QuorvelML:' QuorvelCamera.statusName(status)], '%s answered %d: %s.', ...
            QuorvelCamera.where(cameraId, keyword), double(status), quorvelStatusText(status));
    end
  end

  % Helpers are static and private: methods() lists only what callers may
  % use, and, unlike a class file's local functions, they stay callable by
  % the handles that live through "clear functions".
  methods (Static, Access = private)
    function out = run(obj, outputs, keyword, varargin)
      % Runs the keyword on the camera with the given number of outputs and
      % raises the error of a non-zero status number.
      out = QuorvelCamera.callHeld(obj, outputs, keyword, varargin{:});
      QuorvelCamera.check(out{1}, keyword, obj.Id);
    end

    function out = callHeld(obj, outputs, keyword, varargin)
      % Runs the keyword on the camera this handle holds and returns every
      % output; a camera the handle no longer holds is reported as closed.
      if ~obj.IsOpen
        QuorvelCamera.raiseClosed(obj);
      end
      out = cell(1, outputs);
      [out{:}] = QuorvelML(keyword, obj.Id, varargin{:});
      if out{1} ~= 0 && ~obj.IsOpen
        QuorvelCamera.raiseClosed(obj);
      end
    end

    function raiseClosed(obj)
      error('QuorvelML:closed', 'Camera %s is closed.', num2str(obj.Id));
    end

    function text = where(cameraId, name)
      % "Camera id: name", or the name alone for a call without a camera.
      if isempty(cameraId)
        text = name;
      else
        text = sprintf('Camera %d: %s', cameraId, name);
      end
    end

    function serial = serialOf(id)
      % The module's serial of the open that registered the camera; 0 for
      % an id it holds no camera under.
      [~, serial] = QuorvelML('OpenSerial', id);
      serial = double(serial);
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
      % cannot be opened again; a claim whose open the module forgot is dropped.
      serial = QuorvelCamera.claims('serial', id);
      if serial == 0
        return;
      end
      if QuorvelCamera.serialOf(id) == serial
        error('QuorvelML:alreadyOpen', ['Camera %d is already open in this session: use its QuorvelCamera, ', ...
              'or close that first.'], id);
      end
      QuorvelCamera.claims('release', id, serial);
    end

    function result = claims(action, id, serial, reports)
      % The session's claims, one row [id serial reports] per camera a
      % handle holds: the module's serial of its open and the reports that
      % end the recording the handle started (NaN: none known). Handles are
      % not kept here, so clearing the last reference still deletes them.
      persistent rows
      if isempty(rows)
        rows = zeros(0, 3);
      end
      result = [];
      row = [];
      if nargin > 1
        row = find(rows(:, 1) == id, 1);
      end
      mine = ~isempty(row) && nargin > 2 && rows(row, 2) == serial;
      switch action
        case 'claim'
          rows(end + 1, :) = [id serial NaN];
        case 'serial'
          result = 0;
          if ~isempty(row)
            result = rows(row, 2);
          end
        case 'release'
          if mine
            rows(row, :) = [];
          end
        case 'expect'
          if mine
            rows(row, 3) = double(reports);
          end
        case 'expected'
          result = NaN;
          if mine
            result = rows(row, 3);
          end
        case 'list'
          result = rows;
      end
    end

    function reports = reportsOf(frames, interval)
      % The report that ends a recording of frames with that interval: one
      % after every interval-th frame and one after the last.
      if frames == 0
        reports = Inf;
      else
        reports = ceil(double(frames) / max(double(interval), 1));
      end
    end

    function running = recordingRuns(obj)
      % A recording this handle started has not ended nor been stopped.
      reports = QuorvelCamera.claims('expected', obj.Id, obj.Serial);
      running = ~isnan(reports) && obj.reportCount() < reports;
    end

    function requireArguments(obj, given, needed, method, what)
      if given < needed
        error('QuorvelML:missingArgument', '%s takes %s; %d of %d arguments were given.', ...
              QuorvelCamera.where(QuorvelCamera.idOf(obj), method), what, given, needed);
      end
    end

    function requireText(obj, value, method, name)
      if ~(ischar(value) && (isrow(value) || isempty(value)))
        error('QuorvelML:notText', '%s%s of %s takes a text; %s is not one.', ...
              QuorvelCamera.where(QuorvelCamera.idOf(obj), ''), name, method, QuorvelCamera.describe(value));
      end
    end

    function requireWhole(obj, value, method, name, top, identifier, scalar)
      % Refuses anything but whole numbers from 0 to top (one unless scalar
      % is false), naming the argument, its method and the first value refused.
      if nargin < 6 || isempty(identifier)
        identifier = 'QuorvelML:notWholeNumber';
      end
      if nargin < 7
        scalar = true;
      end
      subject = name;
      if ~isempty(method)
        subject = sprintf('%s of %s', name, method);
      end
      where = QuorvelCamera.where(QuorvelCamera.idOf(obj), '');
      if ~(isnumeric(value) && isreal(value) && (~scalar || isscalar(value)) && ~isempty(value))
        if ~isempty(value) || scalar
          error(identifier, '%s%s takes a whole number; %s is not one.', where, subject, QuorvelCamera.describe(value));
        end
        return;
      end
      values = value(:);
      if ~isinteger(values)
        notWhole = find(~isfinite(values) | values ~= fix(values), 1);
        if ~isempty(notWhole)
          error(identifier, '%s%s takes a whole number; %s is not one.', where, subject, ...
                QuorvelCamera.describe(values(notWhole)));
        end
      end
      if isinteger(values)
        outside = find(values < 0 | uint64(max(values, 0)) > uint64(top), 1);
      else
        % top + 1 is exact as a double where top is not (2^64 - 1).
        outside = find(values < 0 | values >= double(top) + 1, 1);
      end
      if ~isempty(outside)
        error(identifier, '%s%s takes a whole number from 0 to %s; %s is outside.', where, subject, ...
              QuorvelCamera.describe(top), ...
              QuorvelCamera.describe(values(outside)));
      end
    end

    function text = describe(value)
      % A value as a message shows it.
      if ischar(value)
        text = ['''' value ''''];
      elseif isinteger(value) && isscalar(value)
        text = strtrim(evalc('disp(value)'));  % exact, where Octave's printf goes through a double
      elseif isnumeric(value) && isscalar(value) && isreal(value) && value == fix(value) && isfinite(value)
        text = sprintf('%.0f', value);  % whole, however large
      elseif (isnumeric(value) || islogical(value)) && isscalar(value)
        text = num2str(value);
      elseif isempty(value)
        text = 'an empty value';
      else
        text = sprintf('a %s %s', strjoin(arrayfun(@num2str, size(value), 'UniformOutput', false), '-by-'), ...
                       class(value));
      end
    end

    function id = idOf(obj)
      id = [];
      if ~isempty(obj)
        id = obj.Id;
      end
    end

    function property = propertyOf(number)
      named = {2, 'PixelFormat'; 7, 'ExtraFrames'; 15, 'Width'; 16, 'Height'};
      row = find([named{:, 1}] == number, 1);
      property = '';
      if ~isempty(row)
        property = named{row, 2};
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

    function [frames, read, status] = readMany(obj, keyword, unit, numbers, progress, keepPartial)
      % Reads each run of consecutive numbers with one call of the bulk keyword
      % into one stack along the last dimension; with progress shown, a tenth
      % of the frames a call. The first frame that fails ends the readout: with
      % keepPartial the frames before it are kept and its status number is
      % returned, otherwise its error is raised.
      numbers = numbers(:)';
      count = numel(numbers);
      read = 0;
      status = 0;
      if count == 0
        % No frames: an empty stack of the class and frame shape a read gives.
        out = QuorvelCamera.run(obj, 3, keyword, 0, 0);
        frames = out{2};
        return;
      end
      chunk = min(count, 65536);  % the most one bulk call reads
      if progress
        chunk = max(1, ceil(count / 10));
      end
      frames = [];
      while read < count && status == 0
        [first, span] = consecutiveRun(numbers, read, chunk);
        out = QuorvelCamera.callHeld(obj, 3, keyword, first, span);
        [status, block, got] = deal(double(out{1}), out{2}, double(out{3}));
        if got > 0
          frames = QuorvelCamera.placeFrames(frames, block, got, read, count);
          read = read + got;
        end
        if status ~= 0 && ~keepPartial
          QuorvelCamera.raiseReadFailure(obj, keyword, unit, status, numbers(read + 1), read, count);
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

    function raiseReadFailure(obj, keyword, unit, status, number, read, count)
      % The status error of a readout, with where it stopped and, from the
      % recording's trigger-position record, how many frames it holds.
      recorded = '';
      [triggerStatus, ~, frames] = QuorvelML('MemoryReadTriggerPosition', obj.Id);
      if triggerStatus == 0
        recorded = sprintf(' The recording holds %d frames (positions 0 to %d).', frames, double(frames) - 1);
      end
      error(['QuorvelML:' QuorvelCamera.statusName(status)], ...
            'Camera %d: %s answered %d at %s %d: %s; %d of the %d frames asked for were read.%s', ...
            obj.Id, keyword, status, unit, number, quorvelStatusText(status), read, count, recorded);
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
