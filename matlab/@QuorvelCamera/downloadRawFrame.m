function downloadRawFrame(obj, text, a, b, c, d, e)
  % cam.downloadRawFrame(text, a, b, c, d, e)  Has the driver download a raw frame.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.startRecording(8, 0, 0, 8); cam.wait(5); cam.stopRecording();
  %   >> file = [tempname() '.qrv'];
  %   >> cam.downloadRawFrame(file, 0, 0, 8, 0, 0);
  %   >> exist(file, 'file')
  %   ans = 2
  %   >> delete(file); delete(cam)
  requireArguments(obj, nargin - 1, 6, 'downloadRawFrame', 'a file name and five numbers');
  requireDriverText(obj, text, 'downloadRawFrame', 'the file name');
  numbers = {a, b, c, d, e};
  for k = 1:5
    requireWhole(obj, numbers{k}, 'downloadRawFrame', sprintf('number %d', k), 2^32 - 1);
  end
  runChecked(obj, 1, 'MemoryDownloadRawFrame', text, numbers{:});
end
