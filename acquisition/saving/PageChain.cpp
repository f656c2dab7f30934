#include "PageChain.h"

#include <cstring>
#include <unistd.h>

namespace {

struct ChainReader {
    int fd;
    uint64_t size;
    bool swapped;

    bool read(uint64_t offset, void* into, size_t bytes) const {
        return offset <= size && bytes <= size - offset && pread(fd, into, bytes, off_t(offset)) == ssize_t(bytes);
    }
    // An unsigned number of `bytes` (2, 4 or 8) at the offset, in the file's byte order.
    bool number(uint64_t offset, size_t bytes, uint64_t& value) const {
        unsigned char raw[8];
        if (!read(offset, raw, bytes)) return false;
        value = 0;
        for (size_t k = 0; k < bytes; ++k) value = value << 8 | raw[swapped ? k : bytes - 1 - k];
        return true;
    }
};

bool hostIsLittleEndian() {
    const uint16_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

}  // namespace

bool pageChainEnds(int fd, uint64_t size, uint64_t from, ChainEnd& end, std::string& problem) {
    unsigned char order[2];
    ChainReader file{fd, size, false};
    if (!file.read(0, order, 2) || order[0] != order[1] || (order[0] != 'I' && order[0] != 'M')) {
        problem = "it is no TIFF file";
        return false;
    }
    file.swapped = (order[0] == 'I') != hostIsLittleEndian();
    uint64_t version = 0;
    file.number(2, 2, version);
    const bool big = version == 43;
    if (version != 42 && !big) {
        problem = "it is no TIFF file";
        return false;
    }
    const size_t countBytes = big ? 8 : 2, entryBytes = big ? 20 : 12, linkBytes = big ? 8 : 4;
    uint64_t next = 0;
    if (!file.number(big ? 8 : 4, linkBytes, next)) {
        problem = "it is no TIFF file";
        return false;
    }
    end.bigTiff = big;
    if (from != 0) next = from;
    // Brent's cycle finding: a page remembered at each power of two steps
    // meets the walk again only inside a loop; no memory per page.
    const uint64_t mostPages = size / (countBytes + entryBytes + linkBytes);
    uint64_t remembered = 0, stepsSince = 0, stride = 1;
    for (uint64_t page = 1; next != 0; ++page) {
        if (next == remembered) {
            problem = "its page chain links back to an earlier page";
            return false;
        }
        if (page > mostPages) {
            problem = "it links more pages than fit in it";
            return false;
        }
        if (++stepsSince == stride) {
            remembered = next;
            stride *= 2;
            stepsSince = 0;
        }
        uint64_t entries = 0;
        const uint64_t here = end.lastPage = next;
        if (!file.number(here, countBytes, entries) || entries > (size - here) / entryBytes ||
            !file.number(here + countBytes + entries * entryBytes, linkBytes, next)) {
            // Pages are numbered from the first only when the walk began there.
            problem = (from == 0 ? "its page " + std::to_string(page) : std::string("a page it links")) +
                      " lies past the end of the file";
            return false;
        }
    }
    return true;
}
