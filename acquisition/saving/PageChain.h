// The chain of pages a TIFF file links, walked by its own offsets before
// libtiff writes to the file: libtiff's writer follows the chain to its
// end without noticing a link back to an earlier page, and would spin.
#ifndef QUORVEL_ACQUISITION_SAVING_PAGECHAIN_H
#define QUORVEL_ACQUISITION_SAVING_PAGECHAIN_H

#include <cstdint>
#include <string>

// Where a file's chain ends.
struct ChainEnd {
    uint64_t lastPage = 0;  // the last page's directory; 0 when the file has no page
    bool bigTiff = false;
};

// True when the chain of the file of `size` bytes ends: every page's
// directory and the values it keeps outside it lie inside the file, no
// page links back to an earlier one and there are no more pages than
// directories fit in the file. The walk
// starts at the page whose directory is at `from` (a page of the chain
// known to end), or at the first page when `from` is 0. False with
// `problem` set otherwise, or when the file is no TIFF.
bool pageChainEnds(int fd, uint64_t size, uint64_t from, ChainEnd& end, std::string& problem);

#endif
