#pragma once

#include <atomic>
#include <cassert>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Unwinds a search worker whose time is up. Only the search task catches it.
class ThreadDeath {
public:
    explicit ThreadDeath(std::string text = {}) : message(std::move(text)) {}
    std::string message;
};

// A fixed set of workers that sleep between passes; in each pass every worker runs the task's
// operator() once. The task is not owned.
template <typename T> class ThreadPool {
public:
    // `workerStarts`, when given, runs first on every worker thread, this pool's and those of
    // later resizes: where a front-end sets how its workers are scheduled.
    ThreadPool(T* task, int threadCount, std::function<void()> workerStarts = {})
        : task_(task), workerStarts_(std::move(workerStarts)) {
        resize(threadCount);
    }

    ~ThreadPool() { resize(0); }

    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Replaces all workers by n new ones; waits for a running pass to end first.
    void resize(int n) {
        {
            std::unique_lock lock(mutex_);
            readyCondition_.wait(lock, [this] { return allReady_; });
            allReady_ = false;
            terminate_.store(true);
            finishedCondition_.wait(lock, [this] { return passFinished_; });
        }
        startCondition_.notify_all();
        for (auto& t : threads_) {
            t.join();
        }
        threads_.clear();
        std::lock_guard lock(mutex_);
        terminate_.store(false);
        workerCount_ = n;
        // With no workers there is nobody to wait for; keeping allReady clear here would make
        // the resize(0) of the destructor, after the shut-down's own resize(0), wait forever.
        allReady_ = n == 0;
        readyCount_ = 0;
        finishedCount_ = 0;
        for (int i = 0; i < n; ++i) {
            threads_.emplace_back([this] {
                if (workerStarts_) {
                    workerStarts_();
                }
                workerLoop();
            });
        }
    }

    // Starts one pass and waits until every worker has finished it.
    void runPass() {
        std::unique_lock lock(mutex_);
        beginPass(lock);
        finishedCondition_.wait(lock, [this] { return passFinished_; });
    }

    // Starts one pass and returns at once.
    void startPass() {
        std::unique_lock lock(mutex_);
        beginPass(lock);
    }

    // Waits until the pass in progress has finished, then starts a new one and returns.
    void restartPass() {
        std::unique_lock lock(mutex_);
        finishedCondition_.wait(lock, [this] { return passFinished_; });
        beginPass(lock);
    }

    // Blocks until no pass is running: how a starter that used startPass joins its pass. On the
    // finished condition rather than by polling, so the wait ends the moment the last worker is
    // done; a pass that may search for long must have been stopped first.
    void waitUntilFinished() {
        std::unique_lock lock(mutex_);
        finishedCondition_.wait(lock, [this] { return passFinished_; });
    }

    int workerCount() const {
        std::lock_guard lock(mutex_);
        return workerCount_;
    }

    bool passRunning() const {
        std::lock_guard lock(mutex_);
        return !passFinished_;
    }

private:
    void beginPass(std::unique_lock<std::mutex>& lock) {
        // A pass started before every new worker waits would lose its wake-up.
        readyCondition_.wait(lock, [this] { return allReady_; });
        if (workerCount_ == 0) {
            return; // nobody would ever finish the pass
        }
        // A worker would run a second pass started now right after the first, as one.
        assert(passFinished_ && "a pass started while one runs");
        passFinished_ = false;
        ++generation_;
        startCondition_.notify_all();
    }

    void workerLoop() {
        std::unique_lock lock(mutex_);
        assert(readyCount_ < workerCount_);
        if (++readyCount_ == workerCount_) {
            allReady_ = true;
            readyCount_ = 0;
            readyCondition_.notify_all();
        }
        uint64_t seen = generation_;
        for (;;) {
            // The generation tells a started pass from a spurious wake-up.
            startCondition_.wait(lock, [&] { return terminate_.load() || generation_ != seen; });
            // A pass started before a resize is run even when terminate is already set: resize
            // waits for that pass to finish, so leaving it unrun would block it for ever.
            if (generation_ == seen) {
                return;
            }
            seen = generation_;
            lock.unlock();
            (*task_)();
            lock.lock();
            assert(finishedCount_ < workerCount_ && !passFinished_);
            if (++finishedCount_ == workerCount_) {
                passFinished_ = true;
                finishedCount_ = 0;
                finishedCondition_.notify_all();
            }
        }
    }

    T* task_;
    const std::function<void()> workerStarts_;
    std::vector<std::thread> threads_;
    std::atomic<bool> terminate_{false};
    std::condition_variable startCondition_;
    bool passFinished_ = true;
    std::condition_variable finishedCondition_;
    mutable std::mutex mutex_;
    int workerCount_ = 0;
    int finishedCount_ = 0;
    int readyCount_ = 0;
    bool allReady_ = true;
    std::condition_variable readyCondition_;
    uint64_t generation_ = 0;
};
