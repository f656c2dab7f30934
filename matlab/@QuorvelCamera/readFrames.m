function [frames, info] = readFrames(obj, positions, progress)
  % [frames, info] = cam.readFrames(positions [, progress])  Recorded frames stacked along the last dimension.
  %   Mono frames stack along dimension 3, colour along 4. positions are
  %   whole numbers from 0 to 2^64 - 1 (as uint64 beyond 2^53). Each run
  %   of consecutive positions is read with one MemoryReadFrames call (a
  %   tenth of the frames a call when progress is shown). progress: true
  %   or false; by default from ProgressThreshold frames on, shown once
  %   the readout has lasted a second.
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
  requireArguments(obj, nargin - 1, 1, 'readFrames', 'positions');
  requireWhole(obj, positions, 'readFrames', 'a position', intmax('uint64'), 'QuorvelML:badPosition', ...
               false);
  if nargin < 3
    progress = numel(positions) >= obj.ProgressThreshold;
  end
  % Integer positions stay integers, so those beyond 2^53 reach the driver exactly.
  [frames, read, status] = readMany(obj, 'MemoryReadFrames', 'position', positions, ...
                                    progress, nargout > 1);
  if nargout > 1
    info = readoutInfo(obj, double(positions(1:read)), nan(1, read), status);
  end
end
