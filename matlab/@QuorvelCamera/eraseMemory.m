function eraseMemory(obj)
  % cam.eraseMemory()  Erases the camera's recording memory.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.eraseMemory();
  %   >> delete(cam)
  runChecked(obj, 1, 'EraseMemory');
end
