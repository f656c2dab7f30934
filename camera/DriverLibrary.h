// Which driver library the module runs on, as the dynamic loader sees it.
#ifndef QUORVEL_CAMERA_DRIVERLIBRARY_H
#define QUORVEL_CAMERA_DRIVERLIBRARY_H

#include <string>

struct DriverLibrary {
    std::string path;  // the file the loader mapped; "" where it cannot tell
    bool simulated = false;  // the library exports QUORVEL_SIMULATOR_MARKER
};

// Asks the loader for the library that holds drvLoad, never the file name.
DriverLibrary describeDriverLibrary();

#endif
