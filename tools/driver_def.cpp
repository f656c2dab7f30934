// Writes QuorvelDrv.def to standard output: the module-definition file
// from which a Windows build makes the driver's import library, every
// operation of QUORVEL_DRV_OPERATIONS (driver/QuorvelDrv.h) with its
// ordinal. matlab/build_quorvelml.m writes the same bytes when it builds
// without CMake.
#include "driver/QuorvelDrv.h"

#include <cstdio>

int main() {
    std::printf("; Exports of the camera driver library QuorvelDrv with the ordinals by\n"
                "; which the module imports them, written from driver/QuorvelDrv.h. A\n"
                "; Windows build makes the import library from this file\n"
                "; (lib /def:QuorvelDrv.def /out:QuorvelDrv.lib /machine:x64); NONAME\n"
                "; makes every import go by ordinal, never by name.\n"
                "LIBRARY QuorvelDrv\n"
                "EXPORTS\n");
#define QUORVEL_DEF_LINE(name, ordinal) std::printf("    %-28s @%d NONAME\n", #name, ordinal);
    QUORVEL_DRV_OPERATIONS(QUORVEL_DEF_LINE)
#undef QUORVEL_DEF_LINE
    return 0;
}
