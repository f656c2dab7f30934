// A recorded frame as a TIFF page holds it: rows top to bottom as the
// driver delivers them, so no transpose; a colour pixel's samples in the
// order of the image planes (driver channels 2, 1, 0), so that page and
// image hold the same values at the same places.
#ifndef QUORVEL_ACQUISITION_SAVING_PAGEPIXELS_H
#define QUORVEL_ACQUISITION_SAVING_PAGEPIXELS_H

#include "acquisition/FrameLayout.h"

// Page = the frame of which `delivered` bytes are given, as if zeros
// followed them up to the frame's size (what the image would hold). The
// frame may be in the page already.
void framePagePixels(const FrameShape& shape, uint32_t width, uint32_t height, const unsigned char* frame,
                     size_t delivered, unsigned char* page);

#endif
