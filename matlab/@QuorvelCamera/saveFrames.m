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
  %   Positions as readFrames takes them, at least one (no position is
  %   refused with QuorvelML:badPosition: a TIFF file holds a page at least).
  %   A frame that fails ends the save: info
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
  requireArguments(obj, nargin - 1, 2, 'saveFrames', 'a file name and positions');
  requireText(obj, file, 'saveFrames', 'the file name');
  requireWhole(obj, positions, 'saveFrames', 'a position', intmax('uint64'), 'QuorvelML:badPosition', ...
               false);
  if isempty(positions)
    error('QuorvelML:badPosition', '%s takes at least one position; none were given, and no file is written.', ...
          where(obj.Id, 'saveFrames'));
  end
  info = saveRecorded(obj, 'MemorySaveFrames', file, positions, nargout > 0, varargin);
end
