// The camera's time from an external source (IRIG, GPS, PTP) as one line
// of text: "(year/mm/dd) hh:mm:ss:mmm:uuu", or kNoTimingText when the
// camera has no such time (year 0).
#ifndef QUORVEL_CAMERA_TIMING_H
#define QUORVEL_CAMERA_TIMING_H

#include "driver/QuorvelDrv.h"
#include "common/ResultCodes.h"

#include <cstddef>
#include <cstdint>

constexpr char kNoTimingText[] = "(NO IRIG/GPS/PTP DATA)";

// Gregorian rule with truncating remainders.
bool isLeapYear(int32_t year);

struct MonthDay {
    int32_t month;  // 1 to 12; 13 when the day runs past December
    int32_t day;    // day of that month; 0 or negative as delivered
};

// Walks the twelve month lengths of the year: subtracts each while the day
// is greater than it. Day 0 gives 01/00; day 366 of a common year 13/01.
MonthDay monthAndDay(int32_t year, int32_t dayOfYear);

// Writes the text of the record and its zero byte into `text`, which holds
// kTimingTextCapacity bytes, and returns the text's length (zero excluded).
constexpr size_t kTimingTextCapacity = 96;
size_t formatTimingText(const TimingRecord& record, char* text);

// Reads the timing record and writes its text and zero byte from the
// column's first byte, never past `length` bytes: a shorter column gets the
// first `length` bytes of text and zero. A failed read, or an id that no
// open camera carries, leaves the column untouched and answers
// ResultTimingReadFailed; otherwise 0, the no-data text included.
ResultCode camReadTiming(int32_t cameraId, uint8_t* column, size_t length);

#endif
