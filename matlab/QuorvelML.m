function varargout = QuorvelML(varargin)
% QUORVELML  Control Quorvel cameras from MATLAB or Octave: settings such as exposure, live images, recording around a trigger, readout and saving.
%
%   [status, ...] = QuorvelML(KEYWORD, arguments...)
%
%   QuorvelML is a MEX file: one function, the first argument a command
%   keyword (case matters). Camera commands answer a status number first
%   (uint32, 0 is success; see STATUS NUMBERS) and then their values or
%   images. Camera and driver failures never raise an error: they arrive as
%   the status number. Mistakes in a call (wrong number of inputs or
%   outputs, a non-scalar where a number belongs, a number where a text
%   belongs) raise an error at once, before the camera is touched. Its
%   identifier names the kind of mistake: <ERROR_IDENTIFIERS>.
%
%   Scalar inputs are truncated toward zero and their low 32 bits are used
%   (-1 becomes 4294967295, 2^32+5 becomes 5), except where a command's
%   numbers are its own (the save commands' count, mode and pages,
%   CheckPixelFormat's format): those must be exactly a whole number in
%   range. Texts are cut to 255 characters (a raw-frame file's name is
%   refused instead; a saved file's name may be of any length). A keyword is
%   compared whole: one holding char(0) is unknown. Every numeric output
%   is uint32 unless said otherwise. Image outputs are H-by-W (mono) or
%   H-by-W-by-3 (colour), in the camera's orientation, and are returned
%   full-size (zeros where nothing was read) whatever the status.
%
%   The QuorvelCamera class wraps these commands in an object that turns
%   non-zero status numbers into errors; see "help QuorvelCamera".
%
%   MODULE
%
%   v = QuorvelML('Version')
%       The module version text, '@QUORVEL_VERSION@'.
%
%   z = QuorvelML('Abort', x)
%       Always 0; x is read and not used. Has no other effect.
%
%   [path, simulated] = QuorvelML('DriverInfo')
%       Which driver library answers. path: its file as the dynamic loader
%       resolved it ('' where the loader cannot tell); simulated: 1 for the
%       simulated driver (it alone exports the symbol quorvelSimulatedDriver),
%       0 for a real one. Asks the loader, never the driver.
%       Example:
%         >> [path, simulated] = QuorvelML('DriverInfo');
%         >> simulated
%         simulated = 1
%
%
%   DRIVER AND DISCOVERY
%
%   refused = QuorvelML('SetNetAdapterIPAddress', address)
%       Chooses the network adapter by its dotted address text; the address
%       is kept and used by every later EnumCameras and OpenCamera, even when
%       the driver refuses it. refused: 1 when the driver refused, else 0.
%
%   refused = QuorvelML('InitPCIeMemory', value)
%       Passes a PCIe memory setting to the driver. refused: 1 when the
%       driver refused the value, else 0.
%
%   [failed, count, ids] = QuorvelML('EnumCameras', filter)
%       Lists at most 10 cameras. failed: 1 when enumeration failed, else 0;
%       count: cameras found; ids: 1-by-count camera identifiers. filter is
%       passed to the driver (0 lists every camera).
%
%   status = QuorvelML('PreLoadDriver', a, b, c)
%       Runs the driver's preload step with three values (on top of the
%       preload that the first command does by itself).
%       Status: 0; 4 the driver refused.
%
%   OPENING AND CLOSING
%
%   [status, id] = QuorvelML('OpenCamera', id)
%       Opens a camera: id 0 opens the first camera found, any other id the
%       camera of that identifier. id (output): the identifier under which
%       the camera is open. At most 16 cameras are open at a time; opening
%       an open camera answers 0 and keeps it as it is (unless the driver
%       no longer has it: see CheckAttached). Id 0 closes and opens again
%       the first camera found when the driver reports it in use, which
%       ends its running recording.
%       Status: 0; 2 no camera found or the driver could not open it;
%       5 loading the camera settings failed (the camera stays open).
%
%   [status, id] = QuorvelML('OpenRawCamera', text)
%       Opens a raw camera that the driver identifies by a text; its id is
%       always 0. Only one raw camera can be open.
%       Status: 0; 24 opening failed (nothing open); 7 loading its settings
%       failed; 10 sending its settings failed (7 and 10: it stays open).
%
%   status = QuorvelML('CloseCamera', id)
%       Stops any capture and closes the camera. A camera the driver no
%       longer has (see CheckAttached) is let go and answers 0.
%       Status: 0; 6 the driver failed to close it (it stays open) or no
%       camera of that id is open.
%
%   [zero, serial] = QuorvelML('OpenSerial', id)
%       The serial number of the open that registered the camera: every
%       open that registers a camera takes a new one (never 0), and an open
%       of a camera already open keeps its serial, so a program can tell
%       whether the camera it opened was closed and opened again since.
%       Serials are taken from the microsecond clock: those of an earlier
%       load of the module do not come back for 71 minutes. serial: 0 when
%       no camera of that id is open. zero: always 0. No driver call.
%       Example:
%         >> [~, id] = QuorvelML('OpenCamera', 1002);
%         >> [zero, serial] = QuorvelML('OpenSerial', id);
%         >> serial > 0
%         ans = 1
%         >> status = QuorvelML('CloseCamera', id);
%         >> [zero, serial] = QuorvelML('OpenSerial', id)
%         zero = 0
%         serial = 0
%
%
%   [zero, attached] = QuorvelML('CheckAttached', id)
%       Asks the driver whether the camera the module holds under id is
%       still open in it. One it no longer has (unplugged, switched off,
%       or the driver reset) is let go, so that its id can be opened again
%       once it is back. attached: 1 when the module still holds it, 0 when
%       it holds no camera under id (now or before). Where the driver
%       cannot say (its enumeration fails; the raw camera, which it does
%       not list), the camera counts as attached. zero: always 0.
%       Example:
%         >> [~, id] = QuorvelML('OpenCamera', 1002);
%         >> QuorvelSim('reset');              % the driver forgets every open camera
%         >> [zero, attached] = QuorvelML('CheckAttached', id)
%         zero = 0
%         attached = 0
%
%
%   PARAMETERS AND INFORMATION
%
%   Parameters the module itself uses: 2 pixel format, 7 extra frames per
%   live grab, 11 (read before a readout), 15 width in pixels, 16 height in
%   lines. Information items: 0 camera type, 7 model attribute, 12 colour
%   (0: mono only), 24 addressing (4: no segment addressing).
%
%   [status, value, limit0, limit1] = QuorvelML('GetParameter', id, number)
%       The parameter's current value and its two limits (selector 0, then
%       selector 1; the driver defines which is lower).
%       Status: 0; 7 a read failed (later outputs stay 0).
%
%   status = QuorvelML('SetParameter', id, number, value)
%       Writes one parameter. Value 0 for parameter 15 or 16 re-applies the
%       current width or height.
%       Status: 0; 4 the driver rejected the value; 8 the write failed.
%
%   [status, value] = QuorvelML('GetCameraInfo', id, item)
%       One camera information item.
%       Status: 0; 9 the read failed.
%
%   status = QuorvelML('SendCfg', id)
%       Prepares and sends the camera's settings to the camera.
%       Status: 0; 10 sending failed.
%
%   [status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', id, index)
%       The four words of Broc parameter record index (0 to 255).
%       Status: 0; 7 the read failed or index is above 255.
%
%   CAMERA SERVICES
%
%   status = QuorvelML('Trigger', id)
%       Software trigger. Status: 0; 19 the trigger failed.
%
%   status = QuorvelML('Reset', id)
%       Resets the camera. Status: 0; 21 the reset failed.
%
%   status = QuorvelML('EraseMemory', id)
%       Erases the camera's recording memory. Status: 0; 23 erasing failed.
%
%   status = QuorvelML('CalibrateNoiseReduction', id, value)
%       Noise-reduction calibration. Status: 0; 17 calibration failed.
%
%   status = QuorvelML('EnableDiagnosticTrace', id, text, value)
%       Switches the driver's diagnostic trace. Status: 0; 22 it failed.
%
%   [status, column] = QuorvelML('ReadGPSTiming', id, length)
%       The camera's time from its external source (IRIG, GPS or PTP) as a
%       length-by-1 uint8 column holding a zero-terminated text such as
%       '(2024/02/15) 13:05:09:123:456' (date, then hours, minutes, seconds,
%       milliseconds, microseconds), or '(NO IRIG/GPS/PTP DATA)' when the
%       camera has no such time (status 0). Pass a length of 64; the length
%       is at most 65536, and a longer or negative one raises an error.
%       Status: 0; 20 reading the timing record failed (column all zero).
%
%   LIVE IMAGES
%
%   Image class by pixel format (parameter 2): 0 uint8 H-by-W; 1 uint16
%   H-by-W; every other format uint8 H-by-W-by-3 (MemoryReadData gives
%   uint16 H-by-W-by-3 for format 7). Bytes the driver did not deliver are
%   zeros. When the pixel format cannot be read the images are uint8
%   H-by-W zeros and the status 7; when the size cannot be read, empty.
%
%   [status, first, second] = QuorvelML('SynchGrab', id, argument)
%       Grabs parameter 7 + 1 frames; with parameter 7 = 1 the two images
%       are two consecutive frames, with 0 only the first is filled.
%       argument is passed to the driver.
%       Status: 0; 3 the camera is mono only and a colour format is set;
%       18 a mono camera of type 2 delivers 8-bit mono only (format 0);
%       7 a parameter read failed; 9 the colour information read failed;
%       11 no memory for the frame buffer; 12 the grab failed.
%
%   [status, image, value] = QuorvelML('MemoryPreview', id)
%       One preview image and the 32-bit value the driver reports with it.
%       Status: as SynchGrab.
%
%   status = QuorvelML('CheckPixelFormat', id, format)
%       What SynchGrab and MemoryPreview (and the memory readouts) would
%       answer for pixel format `format`, asked without grabbing: only the
%       camera's information items are read, and nothing is changed.
%       Status: 0; 3 the camera is mono only and format is a colour format;
%       18 a mono camera of type 2 delivers 8-bit mono only (format 0);
%       9 the information read failed or no camera of that id is open.
%       Example:
%         >> [~, id] = QuorvelML('OpenCamera', 1002);
%         >> status = QuorvelML('CheckPixelFormat', id, 1)
%         status = 18
%         >> status = QuorvelML('CheckPixelFormat', id, 0)
%         status = 0
%         >> status = QuorvelML('CloseCamera', id);
%
%
%   RECORDING INTO CAMERA MEMORY
%
%   status = QuorvelML('MemoryStartGrab', id, a, b, segments, d)
%       Starts a recording into the camera's memory; a, b and d are passed
%       to the driver; segments is the last segment number of a segmented
%       recording (cameras of types 18 to 20 record segments 0 to segments).
%       Cameras of types 12 to 14 are reset first.
%       Status: 0; 21 that reset failed; 12 the driver refused to start.
%
%   [zero, ready] = QuorvelML('GrabIsReady', id)
%       ready: 1 once the driver has reported a recording event since the
%       camera was opened or since the last start or successful stop.
%       zero: always 0.
%
%   [zero, count] = QuorvelML('FrameReadyCount', id)
%       The recording reports the driver made since the camera was opened
%       or since the last start or successful stop: the count GrabIsReady
%       tests. A recording started with MemoryStartGrab(id, frames, trigger,
%       segmentArgument, interval) on the simulator reports after every
%       interval-th frame and after the last, so it has ended once the count
%       reaches ceil(frames / interval). count: 0 when no camera of that id
%       is open. zero: always 0. No driver call.
%       Example:
%         >> [~, id] = QuorvelML('OpenCamera', 1001);
%         >> status = QuorvelML('MemoryStartGrab', id, 40, 0, 0, 10);
%         >> QuorvelSim('waitRecording', id);
%         >> [zero, count] = QuorvelML('FrameReadyCount', id)
%         zero = 0
%         count = 4
%         >> status = QuorvelML('CloseCamera', id);
%
%
%   status = QuorvelML('MemoryStopGrab', id)
%       Stops the recording. Status: 0; 15 stopping failed.
%
%   [status, first, second] = QuorvelML('MemoryReadTriggerPosition', id)
%       The two trigger-position values of the recording.
%       Status: 0; 14 the read failed.
%
%   [status, image] = QuorvelML('MemoryReadData', id, low, high, segment)
%       Reads one recorded frame. Cameras of types 18 to 20 (unless item 24
%       is 4) read segment number segment through the segment table filled
%       during recording; all others read position high*2^32 + low, and the
%       driver receives segment as an index.
%       Status: 0; 3, 18, 9 as SynchGrab; 7 parameter 11, 15 or 16 could
%       not be read (with 15 the frame is still delivered); 13 the read
%       failed or the segment number is 16352 or more.
%
%   [status, frames, framesRead] = QuorvelML('MemoryReadFrames', id, first, count)
%       Reads the frames at positions first to first+count-1 (driver index
%       0, on every camera type, segmented ones too) into one stack:
%       H-by-W-by-framesRead (mono) or H-by-W-by-3-by-framesRead (colour),
%       of the class MemoryReadData gives. The first frame that fails ends
%       the readout: status is its number and frames holds the frames read
%       before it (framesRead of them). count is at most 65536 (a larger
%       count is an error). first is a whole number from 0 to 2^64-1
%       (as uint64 beyond 2^53), taken whole; anything else is an error.
%       Status: as MemoryReadData, for the frame that stopped the readout;
%       11 the stack is larger than the host's memory (nothing is read).
%
%   [status, frames, framesRead] = QuorvelML('MemoryReadSegments', id, firstSegment, count)
%       Reads segments firstSegment to firstSegment+count-1 into one stack,
%       each frame as MemoryReadData(id, 0, 0, segment) reads it: the first
%       frame of the segment on cameras of types 18 to 20 (unless item 24 is
%       4); on other cameras the frame at position 0 with the segment number
%       as the driver's index. Stack, count and status as MemoryReadFrames;
%       firstSegment is a whole number from 0 to 2^32-1.
%
%   SAVING TO TIFF FILES
%
%   [status, saved] = QuorvelML('MemorySaveFrames', id, file, first, count, mode, pages)
%       Saves the frames at positions first to first+count-1, read as
%       MemoryReadFrames reads them, straight from camera memory into the
%       multi-page TIFF file: one uncompressed page per frame holding the
%       values MemoryReadFrames gives (mono one sample per pixel, colour RGB
%       interleaved in the stack's plane order; 8 or 16 bits as its class)
%       and a JSON ImageDescription: {"position":p,"segment":null,
%       "triggerIndex":t} (t null without a trigger position), the first
%       page also cameraId, cameraType, width, height, pixelFormat,
%       moduleVersion and savedAt (UTC). mode: 0 a new file (an existing one
%       raises QuorvelML:fileExists), 1 a new file written beside the name
%       that replaces it once it holds a page (a save that ends without one
%       leaves the old file untouched), 2 pages added to a file an earlier
%       save made. pages: how many pages the whole file will hold; a new
%       file planned past 4 GiB is a BigTIFF. count, mode and pages are
%       whole numbers; file a name of any length. saved: the pages this
%       call wrote. Memory stays at a few frames. The file is opened first:
%       a place that cannot be written or a name that is no regular file
%       raises QuorvelML:fileOpen, a file another save is writing
%       QuorvelML:fileBusy, both before the driver is asked; a failed write
%       raises QuorvelML:fileWrite naming the file, which then holds every
%       page written before; a file whose pages have another shape or store
%       raises QuorvelML:fileFormat. A new file that ends without a page is
%       removed.
%       Status: as MemoryReadFrames, for the frame that ended the save.
%
%   [status, saved] = QuorvelML('MemorySaveSegments', id, file, firstSegment, count, mode, pages)
%       As MemorySaveFrames, each segment read as MemoryReadSegments reads
%       it; each page's position and triggerIndex are null, its segment the
%       segment number.
%
%   A module built without libtiff leaves both out: they raise
%   QuorvelML:savingLeftOut. QuorvelCamera's saveFrames and saveSegments
%   save any positions in chunks, and quorvelReadFrames reads a file back.
%
%   TRANSFERS
%
%   status = QuorvelML('MemoryDownloadRawFrame', id, text, a, b, c, d, e)
%       Has the driver download a raw frame; the text and five numbers are
%       passed to the driver. A file name the driver cannot be given whole
%       (over 255 characters, or holding char(0)) answers 25 without
%       calling the driver. A name that exists and is not a regular file
%       (a folder, a device, a FIFO the driver's open would block on)
%       raises QuorvelML:fileOpen before the driver is asked.
%       Status: 0; 25 the download failed.
%
%   status = QuorvelML('MemoryReadFromDisk', id, a, b, c, d, e, f)
%       Has the driver read a recording back from disk; the six numbers are
%       passed to the driver, which reports progress on its own thread.
%       Status: 0; 13 the read failed.
%
%   [status, finished, current, final] = QuorvelML('DiskReadProgress', id)
%       How far the camera's disk read has come, without asking the driver.
%       finished: reports that reached their final count since the last
%       MemoryReadFromDisk (1 when a read is done); current and final: the
%       counts of the driver's latest report (0 before any). Every
%       MemoryReadFromDisk starts them at 0 again.
%       Status: 0; 13 no camera of that id is open (all outputs 0).
%
%   STATUS NUMBERS
%
%   @QUORVEL_STATUS_NUMBERS@
%
%   A command that names a camera id that is not open answers its own
%   failure number (for example 19 for Trigger) without reaching the driver.
%   quorvelStatusText(code) gives the meaning of a number in a program.
%
%   See also QuorvelCamera, quorvelStatusText, build_quorvelml.
%
%   EXAMPLES
%
%   One session on the simulated cameras, every command in the order of
%   the sections above (QuorvelSim('reset') restores the default cameras):
%
%   >> QuorvelSim('reset');
%   >> v = QuorvelML('Version')
%   v = @QUORVEL_VERSION@
%   >> z = QuorvelML('Abort', 0)
%   z = 0
%   >> refused = QuorvelML('SetNetAdapterIPAddress', '192.168.1.10')
%   refused = 0
%   >> refused = QuorvelML('InitPCIeMemory', 256)
%   refused = 0
%   >> [failed, count, ids] = QuorvelML('EnumCameras', 0)
%   failed = 0
%   count = 4
%   ids =
%      1001   1002   1003   1004
%   >> status = QuorvelML('PreLoadDriver', 0, 1, 0)
%   status = 0
%   >> [status, id] = QuorvelML('OpenCamera', 1001)
%   status = 0
%   id = 1001
%   >> [status, width, limit0, limit1] = QuorvelML('GetParameter', id, 15)
%   status = 0
%   width = 640
%   limit0 = 16
%   limit1 = 4096
%   >> status = QuorvelML('SetParameter', id, 15, 320)
%   status = 0
%   >> [status, type] = QuorvelML('GetCameraInfo', id, 0)
%   status = 0
%   type = 5
%   >> status = QuorvelML('SendCfg', id)
%   status = 0
%   >> [status, w0, w1, w2, w3] = QuorvelML('GetBrocParameters', id, 0)
%   status = 0
%   w0 = 65601536
%   w1 = 65601537
%   w2 = 65601538
%   w3 = 65601539
%   >> status = QuorvelML('Trigger', id)
%   status = 0
%   >> status = QuorvelML('Reset', id)
%   status = 0
%   >> status = QuorvelML('EraseMemory', id)
%   status = 0
%   >> status = QuorvelML('CalibrateNoiseReduction', id, 1)
%   status = 0
%   >> status = QuorvelML('EnableDiagnosticTrace', id, 'all', 1)
%   status = 0
%   >> QuorvelSim('setTiming', id, 'fixed', 2024, 46, 13, 5, 9, 123456);
%   >> [status, column] = QuorvelML('ReadGPSTiming', id, 64);
%   >> text = char(column(column > 0)')
%   text = (2024/02/15) 13:05:09:123:456
%   >> [status, first, second] = QuorvelML('SynchGrab', id, 0);
%   >> size(first)
%   ans =
%      480   320     3
%   >> [status, image, value] = QuorvelML('MemoryPreview', id);
%   >> status
%   status = 0
%   >> status = QuorvelML('MemoryStartGrab', id, 8, 3, 0, 8)   % 8 frames, trigger on the fourth
%   status = 0
%   >> QuorvelSim('waitRecording', id);
%   >> [zero, ready] = QuorvelML('GrabIsReady', id)
%   zero = 0
%   ready = 1
%   >> [status, first, second] = QuorvelML('MemoryReadTriggerPosition', id)
%   status = 0
%   first = 3
%   second = 8
%   >> status = QuorvelML('MemoryStopGrab', id)
%   status = 0
%   >> [status, image] = QuorvelML('MemoryReadData', id, 5, 0, 0);
%   >> class(image)
%   ans = uint8
%   >> [status, frames, n] = QuorvelML('MemoryReadFrames', id, 6, 4);   % positions 8 and 9 hold nothing
%   >> [status, n]
%   ans =
%      13    2
%   >> [status, frames, n] = QuorvelML('MemoryReadSegments', id, 0, 2);
%   >> size(frames)
%   ans =
%      480   320     3     2
%   >> saved = [tempname() '.tif'];
%   >> [status, pages] = QuorvelML('MemorySaveFrames', id, saved, 0, 4, 0, 6)
%   status = 0
%   pages = 4
%   >> [status, pages] = QuorvelML('MemorySaveSegments', id, saved, 0, 2, 2, 6)
%   status = 0
%   pages = 2
%   >> numel(imfinfo(saved))
%   ans = 6
%   >> delete(saved);
%   >> file = [tempname() '.qrv'];
%   >> status = QuorvelML('MemoryDownloadRawFrame', id, file, 0, 0, 8, 0, 0)
%   status = 0
%   >> status = QuorvelML('MemoryReadFromDisk', id, 0, 0, 8, 0, 0, 0)
%   status = 0
%   >> QuorvelSim('waitDiskRead', id);
%   >> [status, finished, current, final] = QuorvelML('DiskReadProgress', id)
%   status = 0
%   finished = 1
%   current = 8
%   final = 8
%   >> delete(file);
%   >> status = QuorvelML('CloseCamera', id)
%   status = 0
%   >> [status, id] = QuorvelML('OpenRawCamera', 'raw:burst.qrv')
%   status = 0
%   id = 0
%   >> status = QuorvelML('CloseCamera', id)
%   status = 0
%   >> QuorvelML('Trigger')   % a mistake in the call raises an error
%   error: QuorvelML: Invalid number of inputs to Trigger

% This file carries the help text only; it runs when the MEX file is not
% ahead of it on the path.
  varargout = {};
  error('QuorvelML:notBuilt', ['QuorvelML.m is the help text of the QuorvelML MEX file, which was not ', ...
        'found ahead of it on the path. Build it with build_quorvelml and add its folder with addpath.']);
end
