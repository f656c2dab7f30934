// "DriverInfo".
#include "camera/DriverLibrary.h"
#include "gateway/Handlers.h"

void driverInfoCommand(CommandCall& call) {
    const DriverLibrary library = describeDriverLibrary();
    call.plhs[0] = mxCreateString(library.path.c_str());
    *call.wordOutput(1) = library.simulated ? 1 : 0;
}
