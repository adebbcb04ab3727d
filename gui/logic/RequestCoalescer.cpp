#include "RequestCoalescer.h"

RequestCoalescer::RequestCoalescer(std::chrono::milliseconds interval_,
                                   std::function<void()> action_)
    : interval(interval_), action(std::move(action_)), worker([this] { run(); }) {}

RequestCoalescer::~RequestCoalescer() {
    {
        std::lock_guard hold(lock);
        ending = true;
    }
    changed.notify_all();
    worker.join();
}

void RequestCoalescer::request() {
    std::lock_guard hold(lock);
    if (!requested) {
        requested = true;
        changed.notify_one();
    }
}

void RequestCoalescer::run() {
    std::unique_lock hold(lock);
    for (;;) {
        changed.wait(hold, [this] { return requested || ending; });
        if (ending) {
            return;
        }
        requested = false;
        hold.unlock();
        action();
        hold.lock();
        // Requests made meanwhile wait for the interval's end, and are then served together.
        changed.wait_for(hold, interval, [this] { return ending; });
    }
}
