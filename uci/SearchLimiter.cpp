#include "SearchLimiter.h"

#include "NodeCounter.h"
#include "SearchControl.h"

namespace {

// How often the node count is read: a search counts a few thousand nodes in that time.
constexpr std::chrono::milliseconds nodePollInterval{2};

} // namespace

SearchLimiter::SearchLimiter() : thread_([this] { run(); }) {}

SearchLimiter::~SearchLimiter() {
    {
        std::lock_guard lock(lock_);
        quit_ = true;
    }
    changed_.notify_one();
    thread_.join();
}

void SearchLimiter::watch(uint64_t nodeLimit) {
    {
        std::lock_guard lock(lock_);
        watching_ = true;
        nodeLimit_ = nodeLimit;
        deadline_.reset();
    }
    changed_.notify_one();
}

void SearchLimiter::stopAfter(int32_t ms) {
    {
        std::lock_guard lock(lock_);
        deadline_ = Clock::now() + std::chrono::milliseconds(ms);
    }
    changed_.notify_one();
}

void SearchLimiter::endWatch() {
    std::lock_guard lock(lock_);
    watching_ = false;
}

void SearchLimiter::run() {
    std::unique_lock lock(lock_);
    while (!quit_) {
        if (!watching_ || (nodeLimit_ == 0 && !deadline_)) {
            changed_.wait(lock);
            continue;
        }
        const Clock::time_point now = Clock::now();
        // Stopped under the lock, so that a watch that has ended is never stopped late.
        if ((deadline_ && now >= *deadline_) ||
            (nodeLimit_ != 0 && nodeCount.load() >= nodeLimit_)) {
            stopSearch();
            watching_ = false;
            continue;
        }
        Clock::time_point wake = nodeLimit_ != 0 ? now + nodePollInterval : *deadline_;
        if (deadline_ && *deadline_ < wake) {
            wake = *deadline_;
        }
        changed_.wait_until(lock, wake);
    }
}
