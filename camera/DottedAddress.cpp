#include "DottedAddress.h"

#include <cstdlib>
#include <cstring>

uint32_t ParseDottedAddress(const char* text) {
    char workArea[256] = {};
    std::strncpy(workArea, text, sizeof workArea - 1);

    uint8_t bytes[4] = {};
    char* resume = nullptr;
    char* field = strtok_r(workArea, "].\r\n", &resume);
    for (int i = 0; i < 4 && field != nullptr; ++i) {
        bytes[i] = static_cast<uint8_t>(std::strtoul(field, nullptr, 10));
        field = strtok_r(nullptr, "].\r\n", &resume);
    }
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}
