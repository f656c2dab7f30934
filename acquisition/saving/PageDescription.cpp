#include "PageDescription.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <type_traits>

namespace {

template <typename T>
std::string jsonNumber(const std::optional<T>& value) {
    if (!value) return "null";
    char text[24];
    if constexpr (std::is_signed_v<T>)
        std::snprintf(text, sizeof text, "%" PRId64, int64_t(*value));
    else
        std::snprintf(text, sizeof text, "%" PRIu64, uint64_t(*value));
    return text;
}

}  // namespace

std::string pageDescription(const PageOrigin& page, const FileOrigin* file) {
    std::string text = "{\"position\":" + jsonNumber(page.position) + ",\"segment\":" + jsonNumber(page.segment) +
                       ",\"triggerIndex\":" + jsonNumber(page.triggerIndex);
    if (file != nullptr) {
        char fields[320];
        // The version and time are the module's own texts: no character in them needs escaping.
        std::snprintf(fields, sizeof fields,
                      ",\"cameraId\":%d,\"cameraType\":%u,\"width\":%u,\"height\":%u,\"pixelFormat\":%u,"
                      "\"moduleVersion\":\"%s\",\"savedAt\":\"%s\"",
                      file->cameraId, file->cameraType, file->width, file->height, file->pixelFormat,
                      file->moduleVersion, file->savedAt.c_str());
        text += fields;
    }
    return text + "}";
}

std::string utcTimeNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];  // room for any year the clock can give
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(milliseconds));
    return text;
}
