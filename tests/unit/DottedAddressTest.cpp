#include "camera/DottedAddress.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DottedAddress, FieldsBecomeBytesMostSignificantFirst) {
    EXPECT_EQ(ParseDottedAddress("192.168.1.10"), 0xC0A8010Au);
    EXPECT_EQ(ParseDottedAddress("10.0.0"), 0x0A000000u);
    EXPECT_EQ(ParseDottedAddress("300.1.2.3"), 0x2C010203u);
    EXPECT_EQ(ParseDottedAddress("1.2.3.4.5"), 0x01020304u);
}

TEST(DottedAddress, RunsOfDelimitersAndLineEndsMakeNoEmptyFields) {
    EXPECT_EQ(ParseDottedAddress("192.168.1.10\n"), 0xC0A8010Au);
    EXPECT_EQ(ParseDottedAddress("10..20"), 0x0A140000u);
    EXPECT_EQ(ParseDottedAddress("..1]2\r\n3.4."), 0x01020304u);
    EXPECT_EQ(ParseDottedAddress(""), 0u);
    EXPECT_EQ(ParseDottedAddress("..."), 0u);
}

TEST(DottedAddress, FieldsReadLikeStrtoulStoppingAtTheFirstNonDigit) {
    EXPECT_EQ(ParseDottedAddress("192 168 1 10"), 0xC0000000u);  // a space is no delimiter
    EXPECT_EQ(ParseDottedAddress(" +7.x.-1.12abc"), 0x0700FF0Cu);
    EXPECT_EQ(ParseDottedAddress("abc"), 0u);
}

TEST(DottedAddress, TextsLongerThanTheWorkAreaAreReadFromTheirFirst255Bytes) {
    // The last field's digits sit at bytes 253, 254 and 255: only "12" is read.
    std::string text = "1.2.3" + std::string(248, '.') + "123";
    EXPECT_EQ(ParseDottedAddress(text.c_str()), 0x0102030Cu);
}

}  // namespace
