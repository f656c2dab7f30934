// Scalars become the low 32 bits of the value truncated toward zero; texts
// arrive cut at 255 characters.
#include "AllocationCounter.h"
#include "ModuleFixture.h"
#include "gateway/HostCalls.h"

#include <cmath>
#include <limits>

using testhost::Array;

namespace {

TEST(ScalarConversion, TruncatesTowardZeroAndKeepsTheLow32Bits) {
    EXPECT_EQ(convertScalar(3.9), 3u);
    EXPECT_EQ(convertScalar(-1.5), 0xFFFFFFFFu);
    EXPECT_EQ(convertScalar(-1.0), 0xFFFFFFFFu);
    EXPECT_EQ(convertScalar(-2.5), 0xFFFFFFFEu);
    EXPECT_EQ(convertScalar(4294967296.0 + 5), 5u);
    EXPECT_EQ(convertScalar(4294967295.0), 0xFFFFFFFFu);
    EXPECT_EQ(convertScalar(-4294967296.0 - 7), 0xFFFFFFF9u);
    EXPECT_EQ(convertScalar(0.999), 0u);
    EXPECT_EQ(convertScalar(-0.999), 0u);
}

TEST(ScalarConversion, NaNInfinitiesAndMagnitudesFrom2To63GiveZero) {
    const double twoTo63 = std::ldexp(1.0, 63);
    EXPECT_EQ(convertScalar(std::numeric_limits<double>::quiet_NaN()), 0u);
    EXPECT_EQ(convertScalar(std::numeric_limits<double>::infinity()), 0u);
    EXPECT_EQ(convertScalar(-std::numeric_limits<double>::infinity()), 0u);
    EXPECT_EQ(convertScalar(twoTo63), 0u);
    EXPECT_EQ(convertScalar(-twoTo63), 0u);
    EXPECT_EQ(convertScalar(1e300), 0u);
    // The largest double below 2^63 is 2^63 - 1024, whose low word is 0xFFFFFC00.
    EXPECT_EQ(convertScalar(std::nextafter(twoTo63, 0.0)), 0xFFFFFC00u);
}

class ArgumentConversion : public ModuleTest {};

TEST_F(ArgumentConversion, ScalarsOfEveryNumericClassReachTheDriverConverted) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text("PreLoadDriver"));
    inputs.push_back(testhost::numeric(mxINT8_CLASS, {1, 1}));
    inputs.back()->bytes[0] = static_cast<unsigned char>(-3);
    inputs.push_back(testhost::numeric(mxUINT16_CLASS, {1, 1}));
    inputs.back()->bytes[0] = 0x34, inputs.back()->bytes[1] = 0x12;
    inputs.push_back(testhost::scalar(7.9));
    EXPECT_EQ(testhost::call(1, inputs).word(0), 0u);
    EXPECT_EQ(simCallLog().back().describe(), "drvPreLoad(4294967293, 4660, 7)");
}

TEST_F(ArgumentConversion, TextsArriveWholeUpTo255CharactersAndEmptyTextsAsEmpty) {
    const std::string longText(300, 'x');
    for (const std::string& given : {std::string(), std::string("raw:a"), longText}) {
        simReset();
        resetModuleState();
        std::vector<Array> inputs;
        inputs.push_back(testhost::text("OpenRawCamera"));
        inputs.push_back(testhost::text(given));
        testhost::call(2, inputs);
        const SimCall rawOpen = simCallLog().at(2);
        ASSERT_EQ(rawOpen.operation, "drvOpenRawCamera");
        EXPECT_EQ(rawOpen.text, given.substr(0, 255));
    }
}

TEST_F(ArgumentConversion, TextArgumentsAreReleasedWhenTheOutputCountIsWrong) {
    AllocationCounter blocks;
    std::vector<Array> inputs;
    inputs.push_back(testhost::text("OpenRawCamera"));
    inputs.push_back(testhost::text("raw:a"));
    EXPECT_EQ(errorOf(3, inputs), "ZelOpenRawCamera needs 2 outputs\n");
    EXPECT_EQ(blocks.asked(), 1u);
    EXPECT_EQ(blocks.held(), 0u);
    EXPECT_EQ(testhost::keywordTextsOutstanding(), 0);
}

}  // namespace
