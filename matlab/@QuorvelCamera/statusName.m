function name = statusName(code)
  % QuorvelCamera.statusName(12) is 'grabFailed'; the error identifier is 'QuorvelML:' and the name.
  % QuorvelCamera.statusName() returns every code and name as an N-by-2 cell array.
  %   >> QuorvelCamera.statusName(12)
  %   ans = grabFailed
  if nargin == 0
    [~, name] = quorvelStatusText();
  else
    [~, name] = quorvelStatusText(code);
  end
end
