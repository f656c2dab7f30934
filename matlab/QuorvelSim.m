function varargout = QuorvelSim(varargin)
% QUORVELSIM  Control the simulated Quorvel cameras.
%
%   result = QuorvelSim(VERB, arguments...)
%
%   QuorvelSim is a MEX file beside QuorvelML, built with the simulated
%   driver libQuorvelDrv.so. It sets up the simulated cameras, makes the
%   driver fail on purpose and shows what the driver was asked to do, so
%   that programs and tests can be tried without a camera. It is of no use
%   with a real driver. QuorvelSim('help') lists every verb with its
%   arguments; a verb or an operation name it does not know is refused.
%
%   The simulator starts with four cameras, each 640 x 480 pixels of 8 bits
%   per sample: 1001 (colour, type 5), 1002 (mono, type 2), 1003 (type 13)
%   and 1004 (type 19, records in segments). Each has a memory of 256
%   frames.
%
%   Cameras:   reset, defaults, cameras, camera, addCamera, removeCamera,
%              setInfo, setParameter, setInUse, setTiming, setGrab
%   Memory:    setMemory, memory, waitRecording, waitDiskRead,
%              fireRecordEvent, fireLateRecordEvent, fireDiskProgress
%   Failures:  force, forceAfter, forceWhere, clearForced, partialFrame,
%              frameExcess
%   Call log:  log, clearLog, callCount, droppedCalls, setLogLimit
%   Lifetime:  lock, unlock (keep the log through clear all), loaded
%
%   See also QuorvelML, QuorvelCamera.
%
%   >> QuorvelSim('reset');
%   >> cameras = QuorvelSim('cameras')
%   cameras =
%      1001   1002   1003   1004
%   >> QuorvelSim('force', 'drvOpenCamera', 1);
%   >> [status, id] = QuorvelML('OpenCamera', 1002)
%   status = 2
%   id = 1002
%   >> QuorvelSim('callCount', 'drvOpenCamera')
%   ans = 1
%   >> QuorvelSim('reset');

% This file carries the help text only; it runs when the MEX file is not
% ahead of it on the path.
  varargout = {};
  error('QuorvelML:notBuilt', ['QuorvelSim.m is the help text of the QuorvelSim MEX file, which was not ', ...
        'found ahead of it on the path. Build it with build_quorvelml and add its folder with addpath.']);
end
