#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

// The lock over what the renderer draws. While frames follow one another (a move slides in, a
// toolkit window settles) the rendering thread releases it only between two frames and takes
// it again at once, before a thread woken for it gets to run: a human's move could wait for the
// whole animation. Threads other than the renderer count themselves in while they wait, and the
// renderer lets them go first.
class SceneMutex {
public:
    void lock() {
        waiting_.fetch_add(1);
        mutex_.lock();
        waiting_.fetch_sub(1);
    }
    bool try_lock() { return mutex_.try_lock(); }
    void unlock() { mutex_.unlock(); }

    // The renderer's way in: after the waiting threads, but never later than a few milliseconds,
    // so that a thread that holds the lock long cannot keep it spinning.
    void lockAfterWaiters() {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
        while (waiting_.load() > 0 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::yield();
        }
        mutex_.lock();
    }

private:
    std::mutex mutex_;
    std::atomic<int> waiting_{0};
};
