// A recorded frame as a TIFF page holds it: rows top to bottom as the
// driver delivers them, so no transpose; a colour pixel's samples in the
// order of the image planes (driver channels 2, 1, 0), so that page and
// image hold the same values at the same places.
#ifndef QUORVEL_ACQUISITION_SAVING_PAGEPIXELS_H
#define QUORVEL_ACQUISITION_SAVING_PAGEPIXELS_H

#include "acquisition/FrameLayout.h"

// Puts `bytes` bytes of whole pixels of a frame, in place, in the page's
// sample order: a colour pixel's outer samples swap places, a mono frame is
// in that order already.
void orderPageSamples(const FrameShape& shape, unsigned char* samples, size_t bytes);

#endif
