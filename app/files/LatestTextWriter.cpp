#include "LatestTextWriter.h"

#include "WholeWrites.h"

LatestTextWriter::LatestTextWriter(std::string path, std::function<void(const std::string&)> failed)
    : path_(std::move(path)), failed_(std::move(failed)), thread_([this] { run(); }) {}

LatestTextWriter::~LatestTextWriter() {
    {
        std::lock_guard hold(lock_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void LatestTextWriter::write(std::string text) {
    {
        std::lock_guard hold(lock_);
        pending_ = std::move(text);
    }
    changed_.notify_all();
}

void LatestTextWriter::flush() {
    std::unique_lock hold(lock_);
    changed_.wait(hold, [this] { return !pending_ && !writing_; });
}

void LatestTextWriter::run() {
    std::unique_lock hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return pending_ || ending_; });
        if (!pending_) {
            return;
        }
        const std::string text = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        hold.unlock();
        const bool written = replaceWhole(path_, text);
        if (!written && !failureReported_ && failed_) {
            failed_(path_);
        }
        failureReported_ = !written;
        hold.lock();
        writing_ = false;
        changed_.notify_all();
    }
}
