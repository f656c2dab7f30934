#ifndef QUORVEL_CAMERA_DOTTEDADDRESS_H
#define QUORVEL_CAMERA_DOTTEDADDRESS_H

#include <cstdint>

// The adapter address of a dotted text such as "192.168.1.10", first field
// most significant. Fields split at runs of ']', '.', CR and LF; each is
// read like strtoul in base 10 and keeps its low 8 bits; missing fields
// are 0 and fields after the fourth are ignored.
uint32_t ParseDottedAddress(const char* text);

#endif
