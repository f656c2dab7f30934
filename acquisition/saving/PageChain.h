// The chain of pages a TIFF file links, walked by its own offsets before
// libtiff writes to the file: libtiff's writer follows the chain to its
// end without noticing a link back to an earlier page, and would spin.
#ifndef QUORVEL_ACQUISITION_SAVING_PAGECHAIN_H
#define QUORVEL_ACQUISITION_SAVING_PAGECHAIN_H

#include <cstdint>
#include <string>

// True when the chain of the file of `size` bytes ends: every page's
// directory lies inside the file, no page links back to an earlier one and
// there are no more pages than directories fit in the file. False with
// `problem` set otherwise, or when the file is no TIFF.
bool pageChainEnds(int fd, uint64_t size, std::string& problem);

#endif
