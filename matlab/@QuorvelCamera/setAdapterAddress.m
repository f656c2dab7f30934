function setAdapterAddress(address)
  % QuorvelCamera.setAdapterAddress('192.168.1.10')  Network adapter for later lists and opens.
  %   >> QuorvelCamera.setAdapterAddress('192.168.1.10');
  requireText([], address, 'QuorvelCamera.setAdapterAddress', 'the address');
  if QuorvelML('SetNetAdapterIPAddress', address) ~= 0
    error('QuorvelML:adapterRefused', ...
          'SetNetAdapterIPAddress: the driver refused the adapter address %s (it is kept all the same).', address);
  end
end
