// Keeps this module's code mapped for the rest of the process, whatever the
// host does when it clears the module: for a driver that could not be
// unloaded and may still call back into it.
#ifndef QUORVEL_GATEWAY_MODULEPIN_H
#define QUORVEL_GATEWAY_MODULEPIN_H

void keepModuleMapped();

#endif
