#include "NonRegularFile.h"

#include <filesystem>
#include <system_error>

bool namesNonRegularFile(const char* name) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}
