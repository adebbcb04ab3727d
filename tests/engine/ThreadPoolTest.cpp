#include "ThreadPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace {

struct CountingTask {
    std::atomic<int> runs{0};
    std::mutex mutex;
    std::set<std::thread::id> threads;
    void operator()() {
        ++runs;
        std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
    }
};

// Runs until released, so that a test can hold a pass open.
struct GateTask {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int started = 0;
    int finished = 0;
    void operator()() {
        std::unique_lock lock(mutex);
        ++started;
        changed.notify_all();
        changed.wait(lock, [this] { return open; });
        ++finished;
    }
    void release() {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

} // namespace

TEST(ThreadPoolTest, EveryWorkerRunsTheTaskOncePerPass) {
    CountingTask task;
    ThreadPool<CountingTask> pool(&task, 3);
    pool.runPass(); // right after construction: must wait for the workers, not lose the pass
    EXPECT_EQ(task.runs, 3);
    for (int pass = 0; pass < 50; ++pass) {
        pool.runPass();
    }
    EXPECT_EQ(task.runs, 3 * 51);
    EXPECT_EQ(task.threads.size(), 3u);
}

TEST(ThreadPoolTest, ResizeReplacesTheWorkers) {
    CountingTask task;
    ThreadPool<CountingTask> pool(&task, 4);
    pool.runPass();
    pool.resize(1);
    task.threads.clear();
    task.runs = 0;
    pool.runPass();
    pool.runPass();
    EXPECT_EQ(task.runs, 2);
    EXPECT_EQ(task.threads.size(), 1u);
    EXPECT_EQ(pool.workerCount(), 1);
    pool.resize(0);
    EXPECT_EQ(pool.workerCount(), 0);
    pool.runPass(); // nobody to run it: returns instead of waiting forever
    EXPECT_EQ(task.runs, 2);
    pool.resize(0); // the shut-down's resize followed by the destructor's
}

TEST(ThreadPoolTest, TheWorkerStartRunsFirstOnEveryWorkerAlsoAfterAResize) {
    // Where the window lowers its search threads' priority: no worker may search without it.
    static thread_local bool workerStarted = false;
    struct Task {
        std::atomic<int> runs{0}, runsBeforeTheStart{0};
        void operator()() {
            ++runs;
            runsBeforeTheStart += workerStarted ? 0 : 1;
        }
    } task;
    std::atomic<int> starts{0};
    ThreadPool<Task> pool(&task, 2, [&] {
        workerStarted = true;
        ++starts;
    });
    pool.runPass();
    pool.resize(3);
    pool.runPass();
    EXPECT_EQ(task.runs, 5);
    EXPECT_EQ(starts, 5);
    EXPECT_EQ(task.runsBeforeTheStart, 0);
}

TEST(ThreadPoolTest, StartPassReturnsAtOnceAndRestartWaitsForTheRunningPass) {
    GateTask task;
    ThreadPool<GateTask> pool(&task, 1);
    pool.startPass();
    {
        std::unique_lock lock(task.mutex);
        task.changed.wait(lock, [&] { return task.started == 1; });
    }
    EXPECT_TRUE(pool.passRunning());
    std::thread restarter([&] { pool.restartPass(); });
    task.release();
    restarter.join();
    pool.waitUntilFinished();
    EXPECT_EQ(task.started, 2);
    EXPECT_EQ(task.finished, 2);
    EXPECT_FALSE(pool.passRunning());
}

TEST(ThreadPoolTest, ResizeWaitsForARunningPass) {
    GateTask task;
    ThreadPool<GateTask> pool(&task, 2);
    pool.startPass();
    std::thread resizer([&] { pool.resize(3); });
    {
        std::unique_lock lock(task.mutex);
        task.changed.wait(lock, [&] { return task.started == 2; });
    }
    task.release();
    resizer.join();
    EXPECT_EQ(task.finished, 2);
    pool.runPass();
    EXPECT_EQ(task.finished, 5);
}
