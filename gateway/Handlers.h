// Every command handler, as the keyword table names them.
#ifndef QUORVEL_GATEWAY_HANDLERS_H
#define QUORVEL_GATEWAY_HANDLERS_H

#include "CommandCall.h"

void initPCIeMemoryCommand(CommandCall& call);
void setNetAdapterIPAddressCommand(CommandCall& call);
void openCameraCommand(CommandCall& call);
void closeCameraCommand(CommandCall& call);
void enumCamerasCommand(CommandCall& call);
void getCameraInfoCommand(CommandCall& call);
void getParameterCommand(CommandCall& call);
void setParameterCommand(CommandCall& call);
void abortCommand(CommandCall& call);
void versionCommand(CommandCall& call);
void grabIsReadyCommand(CommandCall& call);
void getBrocParametersCommand(CommandCall& call);
void synchGrabCommand(CommandCall& call);
void memoryPreviewCommand(CommandCall& call);
void memoryStartGrabCommand(CommandCall& call);
void memoryStopGrabCommand(CommandCall& call);
void memoryReadDataCommand(CommandCall& call);
void memoryReadFramesCommand(CommandCall& call);
void memoryReadSegmentsCommand(CommandCall& call);
void memoryReadTriggerPositionCommand(CommandCall& call);
void calibrateNoiseReductionCommand(CommandCall& call);
void sendCfgCommand(CommandCall& call);
void triggerCommand(CommandCall& call);
void readGPSTimingCommand(CommandCall& call);
void resetCommand(CommandCall& call);
void enableDiagnosticTraceCommand(CommandCall& call);
void eraseMemoryCommand(CommandCall& call);
void memoryDownloadRawFrameCommand(CommandCall& call);
void preLoadDriverCommand(CommandCall& call);
void openRawCameraCommand(CommandCall& call);
void memoryReadFromDiskCommand(CommandCall& call);
void diskReadProgressCommand(CommandCall& call);
void frameReadyCountCommand(CommandCall& call);
void openSerialCommand(CommandCall& call);
void checkAttachedCommand(CommandCall& call);
void driverInfoCommand(CommandCall& call);
void memorySaveFramesCommand(CommandCall& call);
void memorySaveSegmentsCommand(CommandCall& call);
void checkPixelFormatCommand(CommandCall& call);

#endif
