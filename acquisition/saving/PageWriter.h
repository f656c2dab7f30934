// Writes pages on a thread of its own while MATLAB's thread reads the next
// frames from the driver. The two share a few page buffers: the reader
// takes a free one, has the readout clear it and the driver write a frame
// into it, puts the frame in the page's sample order and queues it; the
// writer writes it and frees the buffer. The file's write, the longer
// half, is all the writer does, so that the two threads take about as long.
// Memory stays at those few buffers however many pages go by. The writer
// thread touches its buffers and the file only: never the host API, never
// the driver.
#ifndef QUORVEL_ACQUISITION_SAVING_PAGEWRITER_H
#define QUORVEL_ACQUISITION_SAVING_PAGEWRITER_H

#include "TiffPageFile.h"
#include "acquisition/FrameLayout.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

constexpr size_t kPageBuffers = 3;  // one filling, one writing, one queued

class PageWriter {
public:
    explicit PageWriter(TiffPageFile& file) : file_(file) {}
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;
    ~PageWriter();

    // Takes the buffers, of `bufferBytes` each, for frames of the shape and
    // size, and starts the thread; false when either cannot be had. Called
    // on MATLAB's thread, as is every other.
    bool start(const FrameShape& shape, uint32_t width, uint32_t height, size_t bufferBytes);
    // A buffer to fill, once one is free; nullptr once a write failed.
    unsigned char* takeBuffer();
    // Queues a buffer as the next page: the frame of which the driver
    // delivered `delivered` bytes.
    void submit(unsigned char* buffer, size_t delivered, std::string description);
    // Gives back a buffer that became no page.
    void giveBack(unsigned char* buffer);
    // Waits until every queued page is written (or a write failed) and
    // ends the thread.
    void finish();

private:
    struct Page {
        unsigned char* buffer;
        size_t delivered;
        std::string description;
    };
    void writeQueued();

    TiffPageFile& file_;
    FrameShape shape_;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    std::vector<void*> blocks_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<unsigned char*> free_;
    std::deque<Page> queued_;
    bool failed_ = false;
    bool finishing_ = false;
    std::thread thread_;
};

#endif
