// Reads a fuzz input as a stream of small decisions; past its end every
// read yields zero, so any byte string decodes to a complete scenario.
#ifndef QUORVEL_FUZZ_FUZZINPUT_H
#define QUORVEL_FUZZ_FUZZINPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return position_ >= size_; }

    uint8_t byte() { return empty() ? 0 : data_[position_++]; }

    // A value in [0, bound).
    uint32_t below(uint32_t bound) { return bound == 0 ? 0 : word() % bound; }

    uint32_t word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | byte();
        return value;
    }

    double anyDouble() {
        uint64_t bits = uint64_t(word()) << 32 | word();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    std::string bytes(size_t length) {
        std::string text;
        for (size_t i = 0; i < length && !empty(); ++i) text.push_back(static_cast<char>(byte()));
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

#endif
