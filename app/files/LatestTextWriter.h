#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Keeps a file holding the latest of a stream of texts, written on a thread of its own so that
// whoever hands a text over never waits for the disk. Texts that come faster than the disk takes
// them are skipped: only the newest is written. Each write replaces the file whole (see
// replaceWhole).
class LatestTextWriter {
public:
    // `failed` is called on the writer's thread when a write fails, with the file's path; once
    // until a later write succeeds again.
    LatestTextWriter(std::string path, std::function<void(const std::string&)> failed);
    // Writes what is still pending, then ends the thread.
    ~LatestTextWriter();
    LatestTextWriter(const LatestTextWriter&) = delete;
    LatestTextWriter& operator=(const LatestTextWriter&) = delete;

    const std::string& path() const { return path_; }
    // Any thread.
    void write(std::string text);
    // Waits until every text handed over so far has been written or has failed.
    void flush();

private:
    void run();

    const std::string path_;
    const std::function<void(const std::string&)> failed_;

    // lock.
    std::mutex lock_;
    std::condition_variable changed_;
    std::optional<std::string> pending_;
    bool writing_ = false;
    bool ending_ = false;

    // The writer's thread.
    bool failureReported_ = false;
    std::thread thread_;
};
