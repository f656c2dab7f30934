% QuorvelML: control cameras of the Quorvel family from MATLAB or GNU Octave.
% Version @QUORVEL_VERSION@
%
% Module
%   QuorvelML          - The MEX module: one function, a command keyword first (help QuorvelML).
%   quorvelStatusText  - Meaning of a QuorvelML status number.
%
% Camera class
%   QuorvelCamera      - An open camera as a handle object: settings by name, live preview,
%                        recording, readout with metadata, waiting, disk read-back, saving
%                        to TIFF (help QuorvelCamera).
%   quorvelReadFrames  - Reads back the frames and their metadata from a saved TIFF file.
%
% Building
%   build_quorvelml    - Builds QuorvelML (and the simulated driver) with mex or mkoctfile.
%
% With the simulated driver
%   QuorvelSim         - Controls the simulated cameras (built beside QuorvelML).
%
% Tab completion in MATLAB: functionSignatures.json beside the MEX file.
% Named settings per camera type: quorvel-settings.tsv beside the MEX file.
