// The timing record of a camera's time source: the system clock in UTC for
// IRIG, GPS and PTP, year 0 without a source, or a record set for tests.
#include "SimCallGuard.h"
#include "SimResults.h"

#include <chrono>
#include <ctime>

namespace {

TimingRecord clockRecord(uint32_t sourceWord) {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t whole = system_clock::to_time_t(now);
    auto fraction = duration_cast<microseconds>(now.time_since_epoch()) % seconds(1);
    std::tm utc = {};
    gmtime_r(&whole, &utc);

    TimingRecord record = {};
    record.word0 = sourceWord;
    record.year = utc.tm_year + 1900;
    record.dayOfYear = utc.tm_yday + 1;
    record.hours = utc.tm_hour;
    record.minutes = utc.tm_min;
    record.seconds = utc.tm_sec;
    record.microseconds = static_cast<uint32_t>(fraction.count());
    return record;
}

TimingRecord sourceRecord(const SimCamera& camera) {
    switch (camera.config.timeSource) {
    case SimTimeSource::Irig: return clockRecord(kSimTimingIrig);
    case SimTimeSource::Gps: return clockRecord(kSimTimingGps);
    case SimTimeSource::Ptp: return clockRecord(kSimTimingPtp);
    case SimTimeSource::Fixed: return camera.config.fixedTiming;
    case SimTimeSource::None: break;
    }
    return TimingRecord{};
}

}  // namespace

uint32_t drvReadTiming(DeviceHandle handle, uint32_t zero, TimingRecord* record) {
    SimCallGuard call(SimOperation::drvReadTiming, {handle, zero, simAddress(record)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (record == nullptr || zero != 0) return kSimErrorUnknownItem;
    *record = sourceRecord(*camera);
    return 0;
}
