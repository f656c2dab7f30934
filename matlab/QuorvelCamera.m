classdef QuorvelCamera < handle
  % QUORVELCAMERA  An open Quorvel camera as a MATLAB handle object.
  %
  %   cam = QuorvelCamera()             opens the first camera found
  %   cam = QuorvelCamera(1002)         opens the camera of that identifier
  %   cam = QuorvelCamera('raw:x.qrv')  opens a raw camera by its text (Id 0)
  %   delete(cam) or clear cam          closes it (close(cam) reports failures)
  %
  %   ids = QuorvelCamera.list()        identifiers of the cameras found
  %
  %   Every method runs one or more QuorvelML commands on the camera. A
  %   non-zero status number becomes an error whose identifier names it,
  %   for example QuorvelML:grabFailed for 12, and whose message gives the
  %   camera, the command, the number and its meaning; QuorvelCamera.statusName
  %   lists the names. The raw QuorvelML commands stay available alongside.
  %
  %   Parameters and information
  %     cam.Width, cam.Height, cam.PixelFormat, cam.ExtraFrames   (read/write)
  %     cam.Type, cam.IsColour                                     (read only)
  %     [value, limits] = cam.getParameter(number)
  %     cam.setParameter(number, value)   refuses a value outside the limits
  %                                       (QuorvelML:outOfLimits)
  %     value = cam.info(item);  cam.sendSettings();  w = cam.brocParameters(index)
  %
  %   Live images
  %     [first, second] = cam.grab()      two images (parameter 7 = 1: two frames)
  %     [image, value] = cam.preview()
  %
  %   Recording and readout
  %     cam.startRecording(a, b, segments, d);  cam.isReady();  cam.waitUntilReady(seconds)
  %     cam.stopRecording();  [p1, p2] = cam.triggerPosition()
  %     image = cam.readFrame(position);  frames = cam.readFrames(positions)
  %     image = cam.readSegment(n);       frames = cam.readSegments(numbers)
  %     Range readouts stack frames along the last dimension and show their
  %     progress from ProgressThreshold frames on.
  %
  %   Transfers, timing and services
  %     cam.downloadRawFrame(text, a, b, c, d, e);  cam.readFromDisk(a, b, c, d, e, f)
  %     text = cam.timing()
  %     cam.trigger();  cam.reset();  cam.eraseMemory()
  %     cam.calibrateNoiseReduction(value);  cam.enableTrace(text, value)
  %
  %   Example:  cam = QuorvelCamera(1002);
  %             cam.Width = 320;
  %             [first, second] = cam.grab();
  %             size(first)
  %             delete(cam)
  %
  %   Example:  cam = QuorvelCamera(1001);
  %             cam.startRecording(8, 3, 0, 8);  cam.waitUntilReady();
  %             frames = cam.readFrames(0:7);
  %             text = cam.timing()
  %             clear cam
  %
  %   See also QuorvelML, quorvelStatusText.

  properties (SetAccess = private)
    Id = []          % the identifier under which the camera is open
    Source = ''      % the text that named a raw camera; '' for a live camera
    IsOpen = false
  end

  properties
    ProgressThreshold = 20   % range readouts of at least this many frames show progress
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

  properties (Constant, Access = private)
    TimingColumnLength = 64
    ParamPixelFormat = 2
    ParamExtraFrames = 7
    ParamWidth = 15
    ParamHeight = 16
  end

  methods (Static)
    function ids = list(filter)
      % QuorvelCamera.list([filter])  Identifiers of the cameras the driver finds (at most 10).
      if nargin < 1
        filter = 0;
      end
      [failed, count, found] = QuorvelML('EnumCameras', filter);
      if failed ~= 0
        error('QuorvelML:enumerationFailed', 'EnumCameras failed: the driver could not list the cameras.');
      end
      ids = double(found(1:count));
    end

    function setAdapterAddress(address)
      % QuorvelCamera.setAdapterAddress('192.168.1.10')  Network adapter for later lists and opens.
      if QuorvelML('SetNetAdapterIPAddress', address) ~= 0
        error('QuorvelML:adapterRefused', ...
              'SetNetAdapterIPAddress: the driver refused the adapter address %s (it is kept all the same).', address);
      end
    end

    function initPCIeMemory(value)
      % QuorvelCamera.initPCIeMemory(value)  Passes a PCIe memory setting to the driver.
      if QuorvelML('InitPCIeMemory', value) ~= 0
        error('QuorvelML:pcieMemoryRefused', 'InitPCIeMemory: the driver refused the value %g.', value);
      end
    end

    function preloadDriver(a, b, c)
      % QuorvelCamera.preloadDriver(a, b, c)  The driver's preload step with chosen values.
      QuorvelCamera.check(QuorvelML('PreLoadDriver', a, b, c), 'PreLoadDriver', []);
    end

    function text = version()
      text = QuorvelML('Version');
    end

    function name = statusName(code)
      % QuorvelCamera.statusName(12) is 'grabFailed'; the error identifier is 'QuorvelML:' and the name.
      % QuorvelCamera.statusName() returns every code and name as an N-by-2 cell array.
      table = {
        0,  'ok'
        2,  'openFailed'
        3,  'formatNotMono'
        4,  'valueRejected'
        5,  'settingsLoadFailed'
        6,  'closeFailed'
        7,  'parameterReadFailed'
        8,  'parameterWriteFailed'
        9,  'infoReadFailed'
        10, 'settingsSendFailed'
        11, 'outOfMemory'
        12, 'grabFailed'
        13, 'readFailed'
        14, 'triggerPositionFailed'
        15, 'stopFailed'
        17, 'calibrationFailed'
        18, 'formatNotSupported'
        19, 'triggerFailed'
        20, 'timingReadFailed'
        21, 'resetFailed'
        22, 'traceFailed'
        23, 'eraseFailed'
        24, 'rawOpenFailed'
        25, 'downloadFailed'
      };
      if nargin == 0
        name = table;
        return;
      end
      row = find([table{:, 1}] == double(code), 1);
      if isempty(row)
        name = sprintf('status%d', double(code));
      else
        name = table{row, 2};
      end
    end

    function check(status, keyword, cameraId)
      % QuorvelCamera.check(status, keyword, cameraId)  Raises the error of a non-zero status number.
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

  methods
    function obj = QuorvelCamera(which)
      if nargin < 1 || isempty(which)
        which = 0;
      end
      if ischar(which)
        [status, id] = QuorvelML('OpenRawCamera', which);
        keyword = 'OpenRawCamera';
        opened = any(status == [0 7 10]);
        obj.Source = which;
      else
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
      obj.IsOpen = true;
    end

    function delete(obj)
      % Closes the camera; a failure here is not reported (use close).
      if obj.IsOpen
        closed = QuorvelML('CloseCamera', obj.Id); %#ok<NASGU> a destructor raises nothing
        obj.IsOpen = false;
      end
    end

    function close(obj)
      % cam.close()  Closes the camera; QuorvelML:closeFailed when the driver fails.
      if obj.IsOpen
        obj.run(1, 'CloseCamera');
        obj.IsOpen = false;
      end
    end

    function disp(obj)
      % Shows the camera's identity and image format without failing on a
      % closed camera.
      if ~obj.IsOpen
        fprintf('  QuorvelCamera %s (closed)\n', num2str(obj.Id));
        return;
      end
      fprintf('  QuorvelCamera %d%s: type %d, %d x %d, pixel format %d\n', obj.Id, ...
              ifRaw(obj.Source), obj.Type, obj.Width, obj.Height, obj.PixelFormat);
    end

    function display(obj)
      % Octave shows objects through display rather than disp.
      name = inputname(1);
      if ~isempty(name)
        fprintf('%s =\n', name);
      end
      disp(obj);
    end

    % --- parameters and information -------------------------------------

    function [value, limits] = getParameter(obj, number)
      % [value, limits] = cam.getParameter(number)  Current value and [limit0 limit1].
      out = obj.run(4, 'GetParameter', number);
      value = double(out{2});
      limits = double([out{3} out{4}]);
    end

    function setParameter(obj, number, value)
      % cam.setParameter(number, value)  Writes a parameter within its limits.
      % 0 for the width (15) or height (16) re-applies the current value.
      reapply = value == 0 && any(number == [QuorvelCamera.ParamWidth QuorvelCamera.ParamHeight]);
      if ~reapply
        [~, limits] = obj.getParameter(number);
        if value < min(limits) || value > max(limits)
          error('QuorvelML:outOfLimits', 'Camera %d: parameter %d takes values from %d to %d; %g is outside.', ...
                obj.Id, number, min(limits), max(limits), value);
        end
      end
      obj.run(1, 'SetParameter', number, value);
    end

    function value = info(obj, item)
      % value = cam.info(item)  One camera information item.
      out = obj.run(2, 'GetCameraInfo', item);
      value = double(out{2});
    end

    function sendSettings(obj)
      % cam.sendSettings()  Prepares and sends the camera's settings.
      obj.run(1, 'SendCfg');
    end

    function words = brocParameters(obj, index)
      % words = cam.brocParameters(index)  The four uint32 words of Broc record index (0 to 255).
      out = obj.run(5, 'GetBrocParameters', index);
      words = [out{2:5}];
    end

    function value = get.Width(obj)
      value = obj.getParameter(QuorvelCamera.ParamWidth);
    end
    function set.Width(obj, value)
      obj.setParameter(QuorvelCamera.ParamWidth, value);
    end
    function value = get.Height(obj)
      value = obj.getParameter(QuorvelCamera.ParamHeight);
    end
    function set.Height(obj, value)
      obj.setParameter(QuorvelCamera.ParamHeight, value);
    end
    function value = get.PixelFormat(obj)
      value = obj.getParameter(QuorvelCamera.ParamPixelFormat);
    end
    function set.PixelFormat(obj, value)
      obj.setParameter(QuorvelCamera.ParamPixelFormat, value);
    end
    function value = get.ExtraFrames(obj)
      value = obj.getParameter(QuorvelCamera.ParamExtraFrames);
    end
    function set.ExtraFrames(obj, value)
      obj.setParameter(QuorvelCamera.ParamExtraFrames, value);
    end
    function value = get.Type(obj)
      value = obj.info(0);
    end
    function value = get.IsColour(obj)
      value = obj.info(12) ~= 0;
    end

    % --- live images -----------------------------------------------------

    function [first, second] = grab(obj, argument)
      % [first, second] = cam.grab([argument])  A live grab of ExtraFrames + 1 frames.
      if nargin < 2
        argument = 0;
      end
      out = obj.run(3, 'SynchGrab', argument);
      [first, second] = out{2:3};
    end

    function [image, value] = preview(obj)
      % [image, value] = cam.preview()  A preview image and the driver's value with it.
      out = obj.run(3, 'MemoryPreview');
      image = out{2};
      value = out{3};
    end

    % --- recording and readout -------------------------------------------

    function startRecording(obj, a, b, segments, d)
      % cam.startRecording([a, b, segments, d])  Starts recording into camera memory.
      % a, b and d go to the driver; segments is the last segment number of
      % a segmented recording. Omitted values are 0.
      values = {0, 0, 0, 0};
      given = {};
      if nargin > 1, given{end + 1} = a; end
      if nargin > 2, given{end + 1} = b; end
      if nargin > 3, given{end + 1} = segments; end
      if nargin > 4, given{end + 1} = d; end
      values(1:numel(given)) = given;
      obj.run(1, 'MemoryStartGrab', values{:});
    end

    function ready = isReady(obj)
      % cam.isReady()  True once the driver has reported a recording event since the start.
      out = obj.run(2, 'GrabIsReady');
      ready = out{2} ~= 0;
    end

    function waitUntilReady(obj, timeout)
      % cam.waitUntilReady([seconds])  Polls isReady; QuorvelML:timeout after seconds (default 10).
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
      % cam.stopRecording()
      obj.run(1, 'MemoryStopGrab');
    end

    function [first, second] = triggerPosition(obj)
      % [first, second] = cam.triggerPosition()  The recording's two trigger-position values.
      out = obj.run(3, 'MemoryReadTriggerPosition');
      first = double(out{2});
      second = double(out{3});
    end

    function image = readFrame(obj, position, index)
      % image = cam.readFrame(position [, index])  One recorded frame by its readout position.
      if nargin < 3
        index = 0;
      end
      [low, high] = QuorvelCamera.splitPosition(position);
      out = obj.run(2, 'MemoryReadData', low, high, index);
      image = out{2};
    end

    function frames = readFrames(obj, positions, progress)
      % frames = cam.readFrames(positions [, progress])  Recorded frames stacked along the last dimension.
      % progress: true or false; by default shown from ProgressThreshold frames on.
      % Runs of consecutive positions are read in one MemoryReadFrames call each.
      if nargin < 3
        progress = numel(positions) >= obj.ProgressThreshold;
      end
      for k = 1:numel(positions)
        QuorvelCamera.splitPosition(positions(k));
      end
      frames = obj.readMany('MemoryReadFrames', positions, progress);
    end

    function image = readSegment(obj, number)
      % image = cam.readSegment(number)  One segment of a segmented recording.
      out = obj.run(2, 'MemoryReadData', 0, 0, number);
      image = out{2};
    end

    function frames = readSegments(obj, numbers, progress)
      % frames = cam.readSegments(numbers [, progress])  Segments stacked along the last dimension.
      % Runs of consecutive numbers are read in one MemoryReadSegments call each.
      if nargin < 3
        progress = numel(numbers) >= obj.ProgressThreshold;
      end
      frames = obj.readMany('MemoryReadSegments', numbers, progress);
    end

    % --- transfers, timing and services ----------------------------------

    function downloadRawFrame(obj, text, a, b, c, d, e)
      % cam.downloadRawFrame(text, a, b, c, d, e)  Has the driver download a raw frame.
      obj.run(1, 'MemoryDownloadRawFrame', text, a, b, c, d, e);
    end

    function readFromDisk(obj, a, b, c, d, e, f)
      % cam.readFromDisk(a, b, c, d, e, f)  Has the driver read a recording back from disk.
      obj.run(1, 'MemoryReadFromDisk', a, b, c, d, e, f);
    end

    function text = timing(obj)
      % text = cam.timing()  The camera's IRIG/GPS/PTP time as text.
      out = obj.run(2, 'ReadGPSTiming', QuorvelCamera.TimingColumnLength);
      column = out{2};
      last = find(column == 0, 1) - 1;
      if isempty(last)
        last = numel(column);
      end
      text = char(column(1:last))';
    end

    function trigger(obj)
      obj.run(1, 'Trigger');
    end

    function reset(obj)
      obj.run(1, 'Reset');
    end

    function eraseMemory(obj)
      obj.run(1, 'EraseMemory');
    end

    function calibrateNoiseReduction(obj, value)
      obj.run(1, 'CalibrateNoiseReduction', value);
    end

    function enableTrace(obj, text, value)
      obj.run(1, 'EnableDiagnosticTrace', text, value);
    end
  end

  methods (Access = private)
    function out = run(obj, outputs, keyword, varargin)
      % Runs the keyword on this camera with the given number of outputs and
      % raises the error of a non-zero status number.
      if ~obj.IsOpen
        error('QuorvelML:closed', 'Camera %s is closed.', num2str(obj.Id));
      end
      out = cell(1, outputs);
      [out{:}] = QuorvelML(keyword, obj.Id, varargin{:});
      QuorvelCamera.check(out{1}, keyword, obj.Id);
    end

    function frames = readMany(obj, keyword, numbers, progress)
      % Reads runs of consecutive numbers with the bulk keyword into one
      % stack; with progress shown, in chunks of a tenth of the frames.
      numbers = double(numbers(:)');
      count = numel(numbers);
      chunk = count;
      if progress
        chunk = max(1, ceil(count / 10));
      end
      frames = [];
      done = 0;
      while done < count
        first = numbers(done + 1);
        run = 1;
        while run < chunk && done + run < count && numbers(done + run + 1) == first + run
          run = run + 1;
        end
        if first >= 2^32
          block = obj.readFrame(first);   % beyond the bulk command's 32-bit first position
        else
          out = obj.run(3, keyword, first, run);
          block = out{2};
        end
        if run == count
          frames = block;
        else
          frameSize = size(block);
          if run > 1
            frameSize = frameSize(1:end - 1);
          end
          if done == 0
            % Mono frames stack along dimension 3, colour frames along 4.
            frames = zeros([frameSize count], class(block));
          end
          planes = repmat({':'}, 1, numel(frameSize));
          frames(planes{:}, done + 1:done + run) = block;
        end
        done = done + run;
        if progress
          fprintf('Camera %d: read %d of %d frames\n', obj.Id, done, count);
        end
      end
    end
  end

  methods (Static, Access = private)
    function [low, high] = splitPosition(position)
      % A readout position (0 to 2^64-1, double or uint64) as its two 32-bit words.
      if ~isscalar(position) || position < 0 || position ~= fix(position)
        error('QuorvelML:badPosition', 'A readout position is a whole number from 0 on.');
      end
      position = uint64(position);
      low = double(bitand(position, uint64(4294967295)));
      high = double(bitshift(position, -32));
    end
  end
end

function text = ifRaw(source)
  if isempty(source)
    text = '';
  else
    text = sprintf(' (raw: %s)', source);
  end
end
