// "Version" and "Abort": nothing but the uniform call pattern.
#include "Handlers.h"
#include "ModuleVersion.h"

void versionCommand(CommandCall& call) { call.plhs[0] = mxCreateString(kVersionText); }

// Reads its argument and has no effect that any other command can see.
void abortCommand(CommandCall& call) { *call.wordOutput(0) = 0; }
