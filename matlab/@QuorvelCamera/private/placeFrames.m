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
