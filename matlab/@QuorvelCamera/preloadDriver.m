function preloadDriver(a, b, c)
  % QuorvelCamera.preloadDriver(a, b, c)  The driver's preload step with chosen values.
  %   >> QuorvelCamera.preloadDriver(0, 1, 0);
  values = {a, b, c};
  for k = 1:3
    requireWhole([], values{k}, 'QuorvelCamera.preloadDriver', sprintf('value %d', k), 2^32 - 1);
  end
  QuorvelCamera.check(QuorvelML('PreLoadDriver', a, b, c), 'PreLoadDriver', []);
end
