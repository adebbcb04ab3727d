#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

// Ends the running search (stopSearch) at the limits that the search does not keep itself: a
// time budget that starts while it runs ("ponderhit"), and a count of nodes. A thread of its
// own, asleep while nothing is watched.
class SearchLimiter {
public:
    SearchLimiter();
    ~SearchLimiter();

    SearchLimiter(const SearchLimiter&) = delete;
    SearchLimiter& operator=(const SearchLimiter&) = delete;

    // Watches a search that is about to start, stopping it once the node counter reaches the
    // limit (0: no limit). The counter must have been reset for it.
    void watch(uint64_t nodeLimit);
    // Stops the watched search this many milliseconds from now.
    void stopAfter(int32_t ms);
    // Ends the watch; once it returns, this watch stops nothing more.
    void endWatch();

private:
    using Clock = std::chrono::steady_clock;
    void run();

    std::mutex lock_;
    std::condition_variable changed_;
    // Guarded by lock_.
    bool watching_ = false;
    bool quit_ = false;
    uint64_t nodeLimit_ = 0;
    std::optional<Clock::time_point> deadline_;
    // Last, so that it starts after everything it reads.
    std::thread thread_;
};
