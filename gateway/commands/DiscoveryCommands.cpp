// "InitPCIeMemory", "SetNetAdapterIPAddress", "EnumCameras", "PreLoadDriver".
// The first output of the first three is a 0/1 flag, not a status number.
#include "camera/Discovery.h"
#include "gateway/Handlers.h"

void initPCIeMemoryCommand(CommandCall& call) {
    uint32_t* refused = call.wordOutput(0);
    *refused = camInitPCIeMemory(call.scalar(2)) != 0 ? 1 : 0;
}

void setNetAdapterIPAddressCommand(CommandCall& call) {
    uint32_t* refused = call.wordOutput(0);
    *refused = camSetNetAdapterIPAddress(call.text(2)) != 0 ? 1 : 0;
}

void enumCamerasCommand(CommandCall& call) {
    uint32_t* failed = call.wordOutput(0);
    uint32_t* found = call.wordOutput(1);

    CameraEnumRecord records[kEnumCapacity] = {};
    uint32_t count = kEnumCapacity;
    ResultCode code = camEnumCameras(records, &count, call.scalar(2));

    // Sized by the count as the driver left it, whatever the outcome.
    const mwSize dimensions[] = {1, static_cast<mwSize>(count)};
    call.plhs[2] = mxCreateNumericArray(2, dimensions, mxUINT32_CLASS, mxREAL);
    if (code != ResultOk) {
        *failed = 1;
        return;
    }
    auto* identifiers = static_cast<uint32_t*>(mxGetData(call.plhs[2]));
    for (uint32_t i = 0; i < count; ++i) identifiers[i] = records[i].cameraId;
    *found = count;
}

void preLoadDriverCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camPreLoadDriver(call.scalar(2), call.scalar(3), call.scalar(4));
}
