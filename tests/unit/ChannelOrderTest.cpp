// The colour swap, on every length from none to past several vector
// blocks and at odd addresses, so that each vector width's loop and the
// tail after it meet: pixel (a, b, c) becomes (c, b, a) and nothing else moves.
#include "acquisition/ChannelOrder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

template <typename Sample>
void checkEveryLength() {
    for (size_t offset : {0, 1}) {
        for (size_t pixels = 0; pixels <= 140; ++pixels) {
            std::vector<Sample> samples(3 * pixels + 1);
            for (size_t k = 0; k < samples.size(); ++k) samples[k] = static_cast<Sample>(1000 * sizeof(Sample) + k);
            std::vector<unsigned char> bytes(samples.size() * sizeof(Sample) + offset);
            std::memcpy(bytes.data() + offset, samples.data(), samples.size() * sizeof(Sample));
            reverseColourChannels(bytes.data() + offset, pixels, sizeof(Sample));
            std::vector<Sample> swapped(samples.size());
            std::memcpy(swapped.data(), bytes.data() + offset, swapped.size() * sizeof(Sample));
            for (size_t p = 0; p < pixels; ++p) {
                ASSERT_EQ(swapped[3 * p], samples[3 * p + 2]) << pixels << " pixels, pixel " << p;
                ASSERT_EQ(swapped[3 * p + 1], samples[3 * p + 1]) << pixels << " pixels, pixel " << p;
                ASSERT_EQ(swapped[3 * p + 2], samples[3 * p]) << pixels << " pixels, pixel " << p;
            }
            ASSERT_EQ(swapped.back(), samples.back()) << "the sample after the last pixel, " << pixels << " pixels";
        }
    }
}

TEST(ColourChannelOrder, OuterSamplesSwapAtEveryLengthAndAddress) {
    checkEveryLength<uint8_t>();
    checkEveryLength<uint16_t>();
}

}  // namespace
