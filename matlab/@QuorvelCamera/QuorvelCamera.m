classdef QuorvelCamera < handle
  % QUORVELCAMERA  An open Quorvel camera as a MATLAB handle object.
  %
  %   cam = QuorvelCamera()             opens the first camera found
  %   cam = QuorvelCamera(1002)         opens the camera of that identifier
  %   cam = QuorvelCamera('raw:x.qrv')  opens a raw camera by its text (Id 0; at most 255
  %                                     characters and no NUL: QuorvelML:textCut)
  %   delete(cam) or clear cam          closes it (close(cam) reports failures)
  %
  %   One handle per camera: making a second QuorvelCamera for a camera this
  %   session already holds is refused (QuorvelML:alreadyOpen); use the
  %   first handle, or close it first. A handle whose camera was closed
  %   elsewhere (a raw CloseCamera, QuorvelCamera.closeAll) or whose module
  %   was cleared (clear QuorvelML, clear functions) reports IsOpen false and
  %   refuses every command with QuorvelML:closed, even when the camera is
  %   opened again elsewhere. So does a handle whose camera the driver no
  %   longer has (unplugged, switched off, or its driver reset, as
  %   QuorvelSim('reset') does): the module lets go of it once the driver
  %   is asked (IsOpen, isReady, reportCount, wait, a failed command), and
  %   it can be opened again with a new QuorvelCamera once it is back.
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
  %   Settings and information
  %     cam.set('Exposure', 500)          a setting by its name (any case); the names, numbers
  %     [value, limits, unit] = cam.get('Exposure')   and units per camera type are in
  %                                       quorvel-settings.tsv beside the MEX files
  %     cam.parameters()                  name, number, value, limits and unit of each
  %     cam.Width, cam.Height, cam.PixelFormat, cam.ExtraFrames   (read/write)
  %     cam.Type, cam.IsColour                                     (read only)
  %     [value, limits] = cam.getParameter(number or name)
  %     cam.setParameter(number or name, value)   refuses a fraction (QuorvelML:notWholeNumber),
  %                                       a value outside the limits (QuorvelML:outOfLimits),
  %                                       a pixel format the camera cannot deliver, and a
  %                                       name the table lacks (QuorvelML:unknownSetting)
  %     value = cam.info(item);  cam.sendSettings();  w = cam.brocParameters(index)
  %     names = QuorvelCamera.settingNames()   every name of the table
  %
  %   Pixel formats (PixelFormat, parameter 2) and the images they give:
  %     format  name      live (grab, preview)   readout (readFrames, saving)
  %     0       Mono8     uint8  H x W           uint8  H x W
  %     1       Mono16    uint16 H x W           uint16 H x W
  %     2       Colour8   uint8  H x W x 3       uint8  H x W x 3
  %     7       Colour16  uint8  H x W x 3       uint16 H x W x 3   (by design)
  %     other   Colour8   uint8  H x W x 3       uint8  H x W x 3
  %   A camera without colour (IsColour false) delivers 0 and 1 only, one of
  %   type 2 (camera 1002 of the simulator) 0 only.
  %
  %   Live images
  %     [first, second] = cam.grab()      two images (parameter 7 = 1: two frames)
  %     cam.preview()                     a live window until closed or cam.stopPreview(),
  %                                       frame rate, pixel range and saturation in its title
  %     [frame, value] = cam.preview()    one preview image
  %
  %   Recording and readout
  %     cam.startRecording(frames, trigger, segments, interval)
  %       The four values go to the driver as they are. On the simulated
  %       cameras: frames is how many to record from position 0 on (0, or
  %       more than the memory holds: until the memory is full); trigger is
  %       the frame of the recording that the trigger falls on, by itself,
  %       as a trigger fixed in advance (beyond the last frame: the last);
  %       segments + 1 is the number of equal segments on segmented types
  %       (18 to 20); the driver reports after every interval-th frame and
  %       after the last (0 as 1). The recording ends after its last frame,
  %       or at stopRecording. cam.trigger() during it is counted and
  %       changes nothing. docs/simulator.md has an example of each task.
  %     cam.wait(seconds)                 waits for the recording's last report
  %     cam.waitUntilReady(seconds);  cam.isReady()   the first report
  %     n = cam.reportCount();  cam.stopRecording();  [p1, p2] = cam.triggerPosition()
  %     image = cam.readFrame(position);  [frames, info] = cam.readFrames(positions)
  %     image = cam.readSegment(n);       [frames, info] = cam.readSegments(numbers)
  %     Range readouts stack frames along the last dimension; from
  %     ProgressThreshold frames on, reads, saves and waitForDisk show, once
  %     they have lasted a second, the frames done, their rate and the time
  %     left (one line rewritten in place on a terminal); info gives each frame's
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
  %   ans = @QUORVEL_VERSION@
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
    ProgressThreshold = 20   % readouts and saves of at least this many frames show progress after a second
  end

  properties (Dependent, SetAccess = private)
    IsOpen        % the camera is open in QuorvelML, this handle holds it, and the driver still has it
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
        requireDriverText([], which, 'QuorvelCamera', 'a raw camera''s text');
        refuseHeld(0);
        [status, id] = QuorvelML('OpenRawCamera', which);
        keyword = 'OpenRawCamera';
        opened = any(status == [0 7 10]);
        obj.Source = which;
      else
        requireWhole([], which, 'QuorvelCamera', 'the camera id', 2^32 - 2, 'QuorvelML:badCameraId');
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
      obj.Serial = serialOf(obj.Id);
      claims('claim', obj.Id, obj.Serial);
    end

    function delete(obj)
      % delete(cam)  Closes the camera; a failure here is not reported (use close).
      %   >> cam = QuorvelCamera(1002);
      %   >> delete(cam)
      %   >> QuorvelSim('camera', 1002).open
      %   ans = 0
      if obj.IsOpen
        closed = QuorvelML('CloseCamera', obj.Id); %#ok<NASGU> a destructor raises nothing
        claims('release', obj.Id, obj.Serial);
      end
    end

    function open = get.IsOpen(obj)
      % The module still holds this handle's open, and the driver still
      % has the camera: one unplugged is let go here.
      open = holds(obj) && ~letGoIfDetached(obj);
      if ~open
        claims('release', obj.Id, obj.Serial);
      end
    end

    function set.ProgressThreshold(obj, value)
      requireWhole(obj, value, '', 'ProgressThreshold', 2^53);
      obj.ProgressThreshold = double(value);
    end

    function value = get.Width(obj)
      value = obj.getParameter(15);
    end
    function set.Width(obj, value)
      writeParameter(obj, 15, value, false);
    end
    function value = get.Height(obj)
      value = obj.getParameter(16);
    end
    function set.Height(obj, value)
      writeParameter(obj, 16, value, false);
    end
    function value = get.PixelFormat(obj)
      value = obj.getParameter(2);
    end
    function set.PixelFormat(obj, value)
      writeParameter(obj, 2, value, false);
    end
    function value = get.ExtraFrames(obj)
      value = obj.getParameter(7);
    end
    function set.ExtraFrames(obj, value)
      writeParameter(obj, 7, value, false);
    end
    function value = get.Type(obj)
      value = obj.info(0);
    end
    function value = get.IsColour(obj)
      value = obj.info(12) ~= 0;
    end
  end

  % Every other method is a file of its own in this folder, and the helpers
  % are the functions in private/: methods() lists only what callers may
  % use, and, unlike a class file's local functions, they stay callable by
  % the handles that live through "clear functions".
  methods
    close(obj)
    disp(obj)
    display(obj)
    [value, limits] = getParameter(obj, number)
    setParameter(obj, number, value)
    [value, limits, unit] = get(obj, name)
    set(obj, name, value)
    list = parameters(obj, numbers)
    value = info(obj, item)
    sendSettings(obj)
    words = brocParameters(obj, index)
    [first, second] = grab(obj, argument)
    [frame, value] = preview(obj)
    stopPreview(obj)
    startRecording(obj, frames, trigger, segments, interval)
    ready = isReady(obj)
    count = reportCount(obj)
    wait(obj, timeout, reports)
    waitUntilReady(obj, timeout)
    stopRecording(obj)
    [first, second] = triggerPosition(obj)
    image = readFrame(obj, position, index)
    [frames, info] = readFrames(obj, positions, progress)
    image = readSegment(obj, number)
    [frames, info] = readSegments(obj, numbers, progress)
    downloadRawFrame(obj, text, a, b, c, d, e)
    readFromDisk(obj, a, b, c, d, e, f)
    [finished, current, final] = diskProgress(obj)
    waitForDisk(obj, timeout, progress)
    text = timing(obj)
    trigger(obj)
    reset(obj)
    eraseMemory(obj)
    calibrateNoiseReduction(obj, value)
    enableTrace(obj, text, value)
    info = saveFrames(obj, file, positions, varargin)
    info = saveSegments(obj, file, numbers, varargin)
  end

  methods (Static)
    ids = list(filter)
    info = driverInfo()
    closeAll()
    setAdapterAddress(address)
    initPCIeMemory(value)
    preloadDriver(a, b, c)
    name = statusName(code)
    names = settingNames()
    check(status, keyword, cameraId)

    function text = version()
      % QuorvelCamera.version()  The module's version text, '@QUORVEL_VERSION@'.
      %   >> QuorvelCamera.version()
      %   ans = @QUORVEL_VERSION@
      text = QuorvelML('Version');
    end
  end
end
