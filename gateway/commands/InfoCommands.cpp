// "Version" and "DriverInfo": what the module is, and which driver library
// it loaded.
#include "camera/DriverLibrary.h"
#include "gateway/Handlers.h"
#include "gateway/ModuleVersion.h"

void versionCommand(CommandCall& call) { call.plhs[0] = mxCreateString(kVersionText); }

void driverInfoCommand(CommandCall& call) {
    const DriverLibrary library = describeDriverLibrary();
    call.plhs[0] = mxCreateString(library.path.c_str());
    *call.wordOutput(1) = library.simulated ? 1 : 0;
}
