function asked = raiseIfLostWhileWaiting(obj, started, asked, timeout)
  % A wait asks the driver about its camera once a second and at its end,
  % since a camera unplugged reports no more: one the driver lost raises
  % QuorvelML:closed. Answers when the driver was last asked, in seconds
  % since `started`.
  if toc(started) - asked > 1 || toc(started) > timeout
    asked = toc(started);
    if letGoIfDetached(obj)
      raiseClosed(obj);
    end
  end
end
