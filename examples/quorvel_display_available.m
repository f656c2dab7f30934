function available = quorvel_display_available()
  % QUORVEL_DISPLAY_AVAILABLE  True when figures can be shown on a screen.
  %   The examples show their images only then, so that they also run
  %   headless (octave-cli, CI, a MATLAB started with -nodisplay).
  if exist('OCTAVE_VERSION', 'builtin') ~= 0
    available = ~isempty(available_graphics_toolkits()) && ...
                (ispc() || ismac() || ~isempty(getenv('DISPLAY')) || ~isempty(getenv('WAYLAND_DISPLAY')));
  else
    available = usejava('awt') && feature('ShowFigureWindows');
  end
end
