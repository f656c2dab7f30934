function trigger(obj)
  % cam.trigger()  Software trigger.
  %   >> cam = QuorvelCamera(1001);
  %   >> cam.trigger();
  %   >> delete(cam)
  runChecked(obj, 1, 'Trigger');
end
