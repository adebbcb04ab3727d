#include "Clock.h"

#include <atomic>
#include <chrono>

namespace {

int64_t monotonicTicks() {
    using Ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
    return std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::atomic<int64_t (*)()> clockSource{monotonicTicks};

} // namespace

int64_t clockTicks() {
    return clockSource.load(std::memory_order_relaxed)();
}

void setClockSource(int64_t (*source)()) {
    clockSource.store(source != nullptr ? source : monotonicTicks, std::memory_order_relaxed);
}
