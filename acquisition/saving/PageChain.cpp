#include "PageChain.h"

#include <algorithm>
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
    // An unsigned number of `bytes` (2, 4 or 8), in the file's byte order.
    uint64_t decode(const unsigned char* raw, size_t bytes) const {
        uint64_t value = 0;
        for (size_t k = 0; k < bytes; ++k) value = value << 8 | raw[swapped ? k : bytes - 1 - k];
        return value;
    }
    bool number(uint64_t offset, size_t bytes, uint64_t& value) const {
        unsigned char raw[8];
        if (!read(offset, raw, bytes)) return false;
        value = decode(raw, bytes);
        return true;
    }
};

// libtiff reads no directory of more entries.
constexpr uint64_t kMostEntriesRead = 4096;

// The bytes one value of a field type takes; 0 for a type readers skip.
uint64_t typeBytes(uint64_t type) {
    static const unsigned char bytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
    return type < sizeof bytes ? bytes[type] : 0;
}

// Whether the values the directory's entries keep outside it (a
// description, sample sizes, strip offsets) lie inside the file: pages
// appended to a file cut short there would become those values. The
// entries are read some at a time, and no more than libtiff reads: it
// refuses a page of more, and reading them all would take as long as the
// bytes a file claims.
bool valuesInside(const ChainReader& file, uint64_t entriesAt, uint64_t entries, bool big) {
    const size_t entryBytes = big ? 20 : 12, inlineBytes = big ? 8 : 4;
    const uint64_t checked = std::min<uint64_t>(entries, kMostEntriesRead);
    unsigned char block[64 * 20];
    for (uint64_t done = 0; done < checked;) {
        const uint64_t some = std::min<uint64_t>(checked - done, 64);
        if (!file.read(entriesAt + done * entryBytes, block, some * entryBytes)) return false;
        for (const unsigned char* entry = block; entry < block + some * entryBytes; entry += entryBytes) {
            const uint64_t unit = typeBytes(file.decode(entry + 2, 2));
            const uint64_t count = file.decode(entry + 4, inlineBytes);
            const uint64_t offset = file.decode(entry + 4 + inlineBytes, inlineBytes);
            if (unit == 0 || count <= inlineBytes / unit) continue;  // kept in the entry
            if (count > file.size / unit || offset > file.size || count * unit > file.size - offset) return false;
        }
        done += some;
    }
    return true;
}

// Pages are numbered from the first only when the walk began there.
std::string pageName(uint64_t from, uint64_t page) {
    return from == 0 ? "its page " + std::to_string(page) : std::string("a page it links");
}

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
            problem = pageName(from, page) + " lies past the end of the file";
            return false;
        }
        if (!valuesInside(file, here + countBytes, entries, big)) {
            problem = pageName(from, page) + " keeps values past the end of the file";
            return false;
        }
    }
    return true;
}
