// "Abort": reads its argument and has no effect that any other command can
// see.
#include "gateway/Handlers.h"

void abortCommand(CommandCall& call) { *call.wordOutput(0) = 0; }
