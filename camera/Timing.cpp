#include "Timing.h"

#include "CameraTable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kMonthLengths[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

constexpr uint32_t kMicrosecondsPerMillisecond = 1000;

}  // namespace

bool isLeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

MonthDay monthAndDay(int32_t year, int32_t dayOfYear) {
    const int32_t* lengths = kMonthLengths[isLeapYear(year) ? 1 : 0];
    int32_t month = 0;
    int32_t day = dayOfYear;
    while (month < 12 && day > lengths[month]) day -= lengths[month++];
    return MonthDay{month + 1, day};
}

size_t formatTimingText(const TimingRecord& record, char* text) {
    if (record.year == 0) {
        std::memcpy(text, kNoTimingText, sizeof kNoTimingText);
        return sizeof kNoTimingText - 1;
    }
    MonthDay date = monthAndDay(record.year, record.dayOfYear);
    int length = std::snprintf(text, kTimingTextCapacity, "(%d/%02d/%02d) %02d:%02d:%02d:%03u:%03u", record.year,
                               date.month, date.day, record.hours, record.minutes, record.seconds,
                               record.microseconds / kMicrosecondsPerMillisecond,
                               record.microseconds % kMicrosecondsPerMillisecond);
    return static_cast<size_t>(length);
}

ResultCode camReadTiming(int32_t cameraId, uint8_t* column, size_t length) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultTimingReadFailed;
    TimingRecord record = {};
    if (drvReadTiming(slot->deviceHandle.load(), 0, &record) != 0) return ResultTimingReadFailed;

    char text[kTimingTextCapacity];
    size_t withZero = formatTimingText(record, text) + 1;
    if (length > 0) std::memcpy(column, text, std::min(withZero, length));
    return ResultOk;
}
