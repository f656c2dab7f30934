// The module's version text, as "Version" answers it.
#ifndef QUORVEL_GATEWAY_MODULEVERSION_H
#define QUORVEL_GATEWAY_MODULEVERSION_H

constexpr const char* kVersionText = "2.14.00";

#endif
