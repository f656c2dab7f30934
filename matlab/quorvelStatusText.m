function text = quorvelStatusText(code)
  % QUORVELSTATUSTEXT  Meaning of a QuorvelML status number.
  %   quorvelStatusText(12) returns 'the live grab failed or the driver refused to start a recording'.
  %   quorvelStatusText() returns the whole table as an N-by-2 cell array.
  table = {
    0,  'success'
    2,  'no camera could be found or opened'
    3,  'the camera delivers mono frames only; a colour layout was asked for'
    4,  'the driver rejected the value, or driver preloading failed'
    5,  'loading the camera settings failed at open'
    6,  'the camera could not be closed (driver failure, or the camera is not open)'
    7,  'a parameter read failed (or a Broc index above 255, or the raw camera settings load)'
    8,  'the driver failed to write the parameter'
    9,  'reading the camera information item failed'
    10, 'sending the settings to the camera failed'
    11, 'allocating the frame buffer failed'
    12, 'the live grab failed, or the driver refused to start a recording'
    13, 'reading recorded frames from camera memory or disk failed'
    14, 'reading the trigger position failed'
    15, 'stopping the recording failed'
    17, 'noise-reduction calibration failed'
    18, 'the mono camera of type 2 supports 8-bit mono only'
    19, 'the software trigger failed'
    20, 'reading the camera timing record failed'
    21, 'the camera reset failed'
    22, 'switching the diagnostic trace failed'
    23, 'erasing camera memory failed'
    24, 'opening the raw camera failed'
    25, 'downloading the raw frame failed'
  };
  if nargin == 0
    text = table;
    return;
  end
  row = find([table{:, 1}] == double(code), 1);
  if isempty(row)
    text = sprintf('unknown status %d', double(code));
  else
    text = table{row, 2};
  end
end

%!test  # every status number the camera class names has its meaning here
%! names = QuorvelCamera.statusName();
%! texts = quorvelStatusText();
%! assert([names{:, 1}], [texts{:, 1}]);
%! assert(quorvelStatusText(16), 'unknown status 16');
