// The timing text: the leap rule, the month walk, the exact format, the
// column it is written into, and the simulated time sources.
#include "ModuleFixture.h"
#include "camera/CameraTable.h"
#include "camera/Timing.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

TimingRecord record(int32_t year, int32_t day, int32_t hours, int32_t minutes, int32_t seconds,
                    uint32_t microseconds) {
    TimingRecord timing = {};
    timing.year = year;
    timing.dayOfYear = day;
    timing.hours = hours;
    timing.minutes = minutes;
    timing.seconds = seconds;
    timing.microseconds = microseconds;
    return timing;
}

std::string textOf(const TimingRecord& timing) {
    char text[kTimingTextCapacity];
    size_t length = formatTimingText(timing, text);
    EXPECT_EQ(text[length], '\0');
    return std::string(text, length);
}

TEST(TimingCalendar, LeapYearsFollowTheGregorianRule) {
    for (int32_t year : {2024, 2000, 1600, 4, 0, -4, -400}) EXPECT_TRUE(isLeapYear(year)) << year;
    for (int32_t year : {2023, 1900, 2100, 1, -1, -100, 2147483647}) EXPECT_FALSE(isLeapYear(year)) << year;
}

TEST(TimingCalendar, MonthWalkInLeapAndCommonYears) {
    struct Case {
        int32_t year, day, month, dayOfMonth;
    };
    const Case cases[] = {
        {2023, 1, 1, 1},    {2023, 31, 1, 31},  {2023, 32, 2, 1},   {2024, 60, 2, 29},  {2000, 60, 2, 29},
        {2023, 60, 3, 1},   {1900, 60, 3, 1},   {2024, 59, 2, 28},  {2024, 61, 3, 1},   {2024, 366, 12, 31},
        {2023, 365, 12, 31}, {2023, 366, 13, 1}, {2024, 367, 13, 1}, {2023, 400, 13, 35}, {2023, 0, 1, 0},
        {2023, -5, 1, -5},  {1900, 365, 12, 31}, {2000, 366, 12, 31}, {2024, 335, 11, 30}, {2024, 336, 12, 1},
    };
    for (const Case& c : cases) {
        MonthDay date = monthAndDay(c.year, c.day);
        EXPECT_EQ(date.month, c.month) << c.year << " day " << c.day;
        EXPECT_EQ(date.day, c.dayOfMonth) << c.year << " day " << c.day;
    }
}

TEST(TimingText, FieldsArePaddedAndPrintedInFull) {
    EXPECT_EQ(textOf(record(2024, 46, 13, 5, 9, 123456)), "(2024/02/15) 13:05:09:123:456");
    EXPECT_EQ(textOf(record(2023, 1, 0, 0, 0, 5)), "(2023/01/01) 00:00:00:000:005");
    EXPECT_EQ(textOf(record(2023, 1, 0, 0, 0, 999999)), "(2023/01/01) 00:00:00:999:999");
    EXPECT_EQ(textOf(record(2023, 1, 0, 0, 0, 1000000)), "(2023/01/01) 00:00:00:1000:000");
    EXPECT_EQ(textOf(record(2023, 366, 25, 61, 99, 0)), "(2023/13/01) 25:61:99:000:000");
    EXPECT_EQ(textOf(record(7, 0, 123, 7, -3, 4294967295u)), "(7/01/00) 123:07:-3:4294967:295");
}

TEST(TimingText, YearZeroIsTheNoDataTextWhateverTheOtherWords) {
    EXPECT_EQ(textOf(record(0, 46, 13, 5, 9, 123456)), "(NO IRIG/GPS/PTP DATA)");
    EXPECT_EQ(textOf(TimingRecord{}), "(NO IRIG/GPS/PTP DATA)");
}

TEST(TimingText, ExtremeFieldsFitTheTextBuffer) {
    const int32_t low = -2147483647 - 1;
    std::string text = textOf(record(low, low, low, low, low, 4294967295u));
    EXPECT_LT(text.size() + 1, kTimingTextCapacity);
    EXPECT_EQ(text.substr(0, 13), "(-2147483648/");
}

class ReadTiming : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(open(kSimMonoCameraId), 0u);
        simClearCallLog();
    }

    static void setFixed(const TimingRecord& timing) {
        ASSERT_TRUE(simSetTimeSource(kSimMonoCameraId, SimTimeSource::Fixed, timing));
    }

    // The column the command returns, checked to be a length-by-1 uint8.
    std::vector<uint8_t> readColumn(double cameraId, double length, uint32_t expectedStatus = 0) {
        auto result = run(2, "ReadGPSTiming", {cameraId, length});
        EXPECT_EQ(result.word(0), expectedStatus);
        const mxArray& column = result.output(1);
        EXPECT_EQ(column.classId, mxUINT8_CLASS);
        EXPECT_EQ(column.dimensions, (std::vector<mwSize>{static_cast<mwSize>(length), 1}));
        return std::vector<uint8_t>(column.bytes.begin(), column.bytes.end());
    }

    static std::vector<uint8_t> bytes(const std::string& text, size_t length) {
        std::vector<uint8_t> column(length, 0);
        for (size_t i = 0; i < text.size() && i < length; ++i) column[i] = static_cast<uint8_t>(text[i]);
        return column;
    }
};

TEST_F(ReadTiming, WritesTheTextAndZerosIntoTheColumn) {
    setFixed(record(2024, 46, 13, 5, 9, 123456));
    EXPECT_EQ(readColumn(kSimMonoCameraId, 40), bytes("(2024/02/15) 13:05:09:123:456", 40));
    auto log = simCallLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].operation, "drvReadTiming");
    EXPECT_EQ(log[0].arguments[0], cameraSlot(FindCameraSlot(kSimMonoCameraId)).deviceHandle.load());
    EXPECT_EQ(log[0].arguments[1], 0u);
}

TEST_F(ReadTiming, CameraWithoutTimeSourceAnswersZeroWithTheNoDataText) {
    EXPECT_EQ(readColumn(kSimMonoCameraId, 30), bytes("(NO IRIG/GPS/PTP DATA)", 30));
    setFixed(record(0, 46, 13, 5, 9, 123456));
    EXPECT_EQ(readColumn(kSimMonoCameraId, 23), bytes("(NO IRIG/GPS/PTP DATA)", 23));
}

TEST_F(ReadTiming, FailedReadAnswers20WithTheColumnAllZero) {
    setFixed(record(2024, 46, 13, 5, 9, 123456));
    for (uint32_t driverResult : {1u, 20u, 0xFFFFFFFFu}) {
        simForceResult("drvReadTiming", driverResult);
        EXPECT_EQ(readColumn(kSimMonoCameraId, 32, 20), std::vector<uint8_t>(32, 0)) << driverResult;
    }
}

TEST_F(ReadTiming, ShortColumnGetsWhatFitsAndNothingBeyondItsLength) {
    setFixed(record(2024, 46, 13, 5, 9, 123456));
    const std::string text = "(2024/02/15) 13:05:09:123:456";
    EXPECT_EQ(readColumn(kSimMonoCameraId, 0), std::vector<uint8_t>{});
    EXPECT_EQ(readColumn(kSimMonoCameraId, 1), bytes(text, 1));
    EXPECT_EQ(readColumn(kSimMonoCameraId, 12), bytes(text, 12));
    EXPECT_EQ(readColumn(kSimMonoCameraId, 29), bytes(text, 29));  // the text without its zero byte
    EXPECT_EQ(readColumn(kSimMonoCameraId, 30), bytes(text, 30));

    setFixed(TimingRecord{});
    EXPECT_EQ(readColumn(kSimMonoCameraId, 0), std::vector<uint8_t>{});
    EXPECT_EQ(readColumn(kSimMonoCameraId, 22), bytes("(NO IRIG/GPS/PTP DATA)", 22));
    EXPECT_EQ(simCallCount("drvReadTiming"), 7);
}

// The longest column a call may ask for (CommandChecksTest refuses longer).
TEST_F(ReadTiming, TheLongestColumnHoldsTheTextAndZerosAfterIt) {
    EXPECT_EQ(readColumn(kSimMonoCameraId, 65536), bytes("(NO IRIG/GPS/PTP DATA)", 65536));
}

TEST_F(ReadTiming, ClockSourcesGiveTheCurrentUtcDate) {
    auto dateText = [](std::time_t when) {
        std::tm utc = {};
        gmtime_r(&when, &utc);
        char text[48];
        std::snprintf(text, sizeof text, "(%d/%02d/%02d)", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
        return std::string(text);
    };
    for (SimTimeSource source : {SimTimeSource::Irig, SimTimeSource::Gps, SimTimeSource::Ptp}) {
        ASSERT_TRUE(simSetTimeSource(kSimMonoCameraId, source));
        std::time_t before = std::time(nullptr);
        std::vector<uint8_t> column = readColumn(kSimMonoCameraId, 40);
        std::time_t after = std::time(nullptr);
        std::string text(column.begin(), column.end());
        text = text.c_str();
        ASSERT_EQ(text.size(), 29u) << text;
        std::string date = text.substr(0, 12);
        EXPECT_TRUE(date == dateText(before) || date == dateText(after)) << text;
        int hours = -1, minutes = -1, seconds = -1, milliseconds = -1, microseconds = -1;
        EXPECT_EQ(std::sscanf(text.c_str() + 13, "%2d:%2d:%2d:%3d:%3d", &hours, &minutes, &seconds, &milliseconds,
                              &microseconds),
                  5)
            << text;
        EXPECT_TRUE(hours >= 0 && hours < 24 && minutes < 60 && seconds < 61) << text;
    }
}

}  // namespace
