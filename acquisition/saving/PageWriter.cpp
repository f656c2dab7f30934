#include "PageWriter.h"

#include "common/FrameBuffer.h"

#include <cstring>

#include <system_error>

PageWriter::~PageWriter() {
    finish();
    for (void* block : blocks_) releaseFrameBuffer(block);
}

bool PageWriter::start(const FrameShape& shape, uint32_t width, uint32_t height, size_t bufferBytes) {
    shape_ = shape;
    width_ = width;
    height_ = height;
    for (size_t k = 0; k < kPageBuffers; ++k) {
        void* block = allocateFrameBuffer(bufferBytes);
        if (block == nullptr) return false;
        blocks_.push_back(block);
        free_.push_back(static_cast<unsigned char*>(block));
    }
    try {
        thread_ = std::thread(&PageWriter::writeQueued, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

unsigned char* PageWriter::takeBuffer() {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [this] { return failed_ || !free_.empty(); });
    if (failed_) return nullptr;
    unsigned char* buffer = free_.back();
    free_.pop_back();
    return buffer;
}

void PageWriter::submit(unsigned char* buffer, size_t delivered, std::string description) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        queued_.push_back({buffer, delivered, std::move(description)});
    }
    changed_.notify_all();
}

void PageWriter::giveBack(unsigned char* buffer) {
    std::lock_guard<std::mutex> guard(lock_);
    free_.push_back(buffer);
}

void PageWriter::finish() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(lock_);
        finishing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void PageWriter::writeQueued() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        changed_.wait(guard, [this] { return finishing_ || !queued_.empty(); });
        if (queued_.empty()) return;  // finishing, and every page is written
        Page page = std::move(queued_.front());
        queued_.pop_front();
        guard.unlock();
        const size_t frameBytes = shape_.frameBytes(width_, height_);
        if (page.delivered < frameBytes) std::memset(page.buffer + page.delivered, 0, frameBytes - page.delivered);
        const bool written = file_.writePage(page.buffer, page.description);
        guard.lock();
        free_.push_back(page.buffer);
        if (!written) {
            failed_ = true;
            for (const Page& dropped : queued_) free_.push_back(dropped.buffer);
            queued_.clear();
        }
        changed_.notify_all();
    }
}
