function words = brocParameters(obj, index)
  % words = cam.brocParameters(index)  The four uint32 words of Broc record index (0 to 255).
  %   >> cam = QuorvelCamera(1001);
  %   >> words = cam.brocParameters(0)
  %   words =
  %     65601536  65601537  65601538  65601539
  %   >> delete(cam)
  requireArguments(obj, nargin - 1, 1, 'brocParameters', 'a record index');
  requireWhole(obj, index, 'brocParameters', 'the record index', 2^32 - 1);
  out = runChecked(obj, 5, 'GetBrocParameters', index);
  words = [out{2:5}];
end
