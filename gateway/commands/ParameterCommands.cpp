// "GetCameraInfo", "GetParameter", "SetParameter", "SendCfg",
// "GetBrocParameters". The driver writes straight into the outputs.
#include "camera/Parameters.h"
#include "gateway/Handlers.h"

void getCameraInfoCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* value = call.wordOutput(1);
    *status = camGetCameraInfo(call.signedScalar(2), call.scalar(3), value);
}

void getParameterCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* value = call.wordOutput(1);
    uint32_t* limit0 = call.wordOutput(2);
    uint32_t* limit1 = call.wordOutput(3);
    *status = camGetParameter(call.signedScalar(2), call.scalar(3), value, limit0, limit1);
}

void setParameterCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camSetParameter(call.signedScalar(2), call.scalar(3), call.scalar(4));
}

void sendCfgCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camSendCfg(call.signedScalar(2));
}

void getBrocParametersCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* words[4];
    for (int word = 0; word < 4; ++word) words[word] = call.wordOutput(1 + word);
    *status = camGetBrocParameters(call.signedScalar(2), call.scalar(3), words[0], words[1], words[2], words[3]);
}
