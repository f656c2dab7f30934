#include "SimRecordingFile.h"

#include "SimFrames.h"

#include <cstdio>
#include <memory>

namespace {

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr int kHeaderWords = 8;

bool writeWords(std::FILE* stream, const uint32_t* words, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        unsigned char bytes[4] = {static_cast<unsigned char>(words[i]), static_cast<unsigned char>(words[i] >> 8),
                                  static_cast<unsigned char>(words[i] >> 16),
                                  static_cast<unsigned char>(words[i] >> 24)};
        if (std::fwrite(bytes, 1, 4, stream) != 4) return false;
    }
    return true;
}

bool readWords(std::FILE* stream, uint32_t* words, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        unsigned char bytes[4];
        if (std::fread(bytes, 1, 4, stream) != 4) return false;
        words[i] = bytes[0] | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    }
    return true;
}

uint64_t frameBytesOf(const SimRecordingFile& file) {
    return uint64_t(file.width) * file.height *
           simFrameFormat(file.pixelFormat, SimFrameKind::Readout).bytesPerPixel();
}

}  // namespace

bool simWriteRecordingFile(const std::string& path, const SimRecordingFile& file) {
    const uint64_t frameBytes = frameBytesOf(file);
    if (frameBytes > UINT32_MAX) return false;
    FileHandle stream(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (stream == nullptr) return false;
    const uint32_t header[kHeaderWords] = {kSimFileMagic,
                                           kSimFileVersion,
                                           file.width,
                                           file.height,
                                           file.pixelFormat,
                                           static_cast<uint32_t>(frameBytes),
                                           static_cast<uint32_t>(file.frameNumbers.size()),
                                           0};
    if (!writeWords(stream.get(), header, kHeaderWords)) return false;
    std::vector<unsigned char> pixels(frameBytes);
    for (uint32_t frameNumber : file.frameNumbers) {
        simRenderFrame(file.pixelFormat, SimFrameKind::Readout, frameNumber, file.width, file.height, pixels.data(),
                       pixels.size());
        if (!writeWords(stream.get(), &frameNumber, 1)) return false;
        if (std::fwrite(pixels.data(), 1, pixels.size(), stream.get()) != pixels.size()) return false;
    }
    return std::fflush(stream.get()) == 0;
}

std::optional<SimRecordingFile> simReadRecordingFile(const std::string& path) {
    FileHandle stream(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (stream == nullptr) return std::nullopt;
    uint32_t header[kHeaderWords];
    if (!readWords(stream.get(), header, kHeaderWords)) return std::nullopt;
    if (header[0] != kSimFileMagic || header[1] != kSimFileVersion) return std::nullopt;
    SimRecordingFile file;
    file.width = header[2];
    file.height = header[3];
    file.pixelFormat = header[4];
    if (frameBytesOf(file) != header[5]) return std::nullopt;
    const uint64_t expectedBytes = 4 * uint64_t(kHeaderWords) + uint64_t(header[6]) * (4 + uint64_t(header[5]));
    if (std::fseek(stream.get(), 0, SEEK_END) != 0 || uint64_t(std::ftell(stream.get())) != expectedBytes ||
        std::fseek(stream.get(), 4 * kHeaderWords, SEEK_SET) != 0)
        return std::nullopt;
    for (uint32_t frame = 0; frame < header[6]; ++frame) {
        uint32_t frameNumber = 0;
        if (!readWords(stream.get(), &frameNumber, 1)) return std::nullopt;
        if (std::fseek(stream.get(), long(header[5]), SEEK_CUR) != 0) return std::nullopt;
        file.frameNumbers.push_back(frameNumber);
    }
    return file;
}
