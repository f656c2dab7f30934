// "OpenCamera", "OpenRawCamera", "CloseCamera", "OpenSerial", "CheckAttached".
#include "camera/Attachment.h"
#include "camera/Connections.h"
#include "gateway/Handlers.h"

void openCameraCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* openedId = call.wordOutput(1);
    int32_t cameraId = call.signedScalar(2);
    *status = camOpenCamera(&cameraId);
    *openedId = static_cast<uint32_t>(cameraId);
}

void openRawCameraCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* openedId = call.wordOutput(1);
    int32_t cameraId = kRawCameraId;
    *status = camOpenRawCamera(call.text(2), &cameraId);
    *openedId = static_cast<uint32_t>(cameraId);
}

void closeCameraCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camCloseCamera(call.signedScalar(2));
}

void openSerialCommand(CommandCall& call) {
    *call.wordOutput(0) = ResultOk;
    *call.wordOutput(1) = camOpenSerial(call.signedScalar(2));
}

void checkAttachedCommand(CommandCall& call) {
    *call.wordOutput(0) = ResultOk;
    *call.wordOutput(1) = camCheckAttached(call.signedScalar(2)) ? 1 : 0;
}
