function initPCIeMemory(value)
  % QuorvelCamera.initPCIeMemory(value)  Passes a PCIe memory setting to the driver.
  %   >> QuorvelCamera.initPCIeMemory(256);
  requireWhole([], value, 'QuorvelCamera.initPCIeMemory', 'the value', 2^32 - 1);
  if QuorvelML('InitPCIeMemory', value) ~= 0
    error('QuorvelML:pcieMemoryRefused', 'InitPCIeMemory: the driver refused the value %g.', value);
  end
end
