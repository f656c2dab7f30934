function property = propertyOf(number)
  % The property that sets the numbered parameter; '' for none.
  named = {2, 'PixelFormat'; 7, 'ExtraFrames'; 15, 'Width'; 16, 'Height'};
  row = find([named{:, 1}] == number, 1);
  property = '';
  if ~isempty(row)
    property = named{row, 2};
  end
end
