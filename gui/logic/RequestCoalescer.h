#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs an action on a thread of its own at most once per interval, however often it is asked
// for, and within one interval of the last request: a burst of requests ends with the action.
// A request costs a lock and a flag, so that a search can make one for every report.
class RequestCoalescer {
public:
    RequestCoalescer(std::chrono::milliseconds interval, std::function<void()> action);
    ~RequestCoalescer();
    RequestCoalescer(const RequestCoalescer&) = delete;
    RequestCoalescer& operator=(const RequestCoalescer&) = delete;

    void request();

private:
    void run();

    const std::chrono::milliseconds interval;
    const std::function<void()> action;
    std::mutex lock;
    std::condition_variable changed;
    bool requested = false;
    bool ending = false;
    // Last: it runs once everything above stands.
    std::thread worker;
};
