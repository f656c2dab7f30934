// Every status number of the module, once: QUORVEL_RESULT(number, name,
// meaning). Included where QUORVEL_RESULT is defined: ResultCodes.h makes
// the enumerator Result<name> of each, and the MATLAB side is written from
// this list at build time (tools/status_table.cpp for CMake, the MATLAB
// build script reads it as text): the error identifier QuorvelML:<name>
// with its first letter in lower case, and the meaning quorvelStatusText
// gives. The README's table of status numbers is checked against it.
// Meanings are plain text, without double quotes or backslashes.
QUORVEL_RESULT(0, Ok, "success")
QUORVEL_RESULT(2, OpenFailed, "no camera could be found or opened")
QUORVEL_RESULT(3, FormatNotMono, "the camera delivers mono frames only; a colour layout was asked for")
QUORVEL_RESULT(4, ValueRejected, "the driver rejected the value, or driver preloading failed")
QUORVEL_RESULT(5, SettingsLoadFailed, "loading the camera settings failed at open")
QUORVEL_RESULT(6, CloseFailed, "the camera could not be closed (driver failure, or the camera is not open)")
QUORVEL_RESULT(7, ParameterReadFailed,
               "a parameter read failed (or a Broc index above 255, or the raw camera settings load)")
QUORVEL_RESULT(8, ParameterWriteFailed, "the driver failed to write the parameter")
QUORVEL_RESULT(9, InfoReadFailed, "reading the camera information item failed")
QUORVEL_RESULT(10, SettingsSendFailed, "sending the settings to the camera failed")
QUORVEL_RESULT(11, OutOfMemory, "allocating the frame buffer failed")
QUORVEL_RESULT(12, GrabFailed, "the live grab failed, or the driver refused to start a recording")
QUORVEL_RESULT(13, ReadFailed, "reading recorded frames from camera memory or disk failed")
QUORVEL_RESULT(14, TriggerPositionFailed, "reading the trigger position failed")
QUORVEL_RESULT(15, StopFailed, "stopping the recording failed")
QUORVEL_RESULT(17, CalibrationFailed, "noise-reduction calibration failed")
QUORVEL_RESULT(18, FormatNotSupported, "the mono camera of type 2 supports 8-bit mono only")
QUORVEL_RESULT(19, TriggerFailed, "the software trigger failed")
QUORVEL_RESULT(20, TimingReadFailed, "reading the camera timing record failed")
QUORVEL_RESULT(21, ResetFailed, "the camera reset failed")
QUORVEL_RESULT(22, TraceFailed, "switching the diagnostic trace failed")
QUORVEL_RESULT(23, EraseFailed, "erasing camera memory failed")
QUORVEL_RESULT(24, RawOpenFailed, "opening the raw camera failed")
QUORVEL_RESULT(25, DownloadFailed, "downloading the raw frame failed")
