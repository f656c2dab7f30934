// A colour frame in the order of the image planes: the driver delivers a
// pixel's three samples as channels 2, 1, 0, and a saved page and a Python
// array hold them as MATLAB's planes 1, 2, 3, so that every host gives the
// same values at the same places. Rows stay top to bottom as the driver
// delivers them, so no transpose.
#ifndef QUORVEL_ACQUISITION_CHANNELORDER_H
#define QUORVEL_ACQUISITION_CHANNELORDER_H

#include "FrameLayout.h"

#include <cstddef>

// Swaps the outer samples (0 and 2) of `pixels` pixels of three samples of
// `bytesPerSample` (1 or 2) bytes each, in place.
void reverseColourChannels(unsigned char* samples, size_t pixels, size_t bytesPerSample);

// Puts `bytes` bytes of whole pixels of a frame of the shape in the order
// of the image planes, in place: a colour frame's channels reversed, a
// mono frame left as it is.
void putInPlaneOrder(const FrameShape& shape, unsigned char* samples, size_t bytes);

#endif
