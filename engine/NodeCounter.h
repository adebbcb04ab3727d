#pragma once

#include <atomic>
#include <cstdint>

// The process-wide count of evaluations. Every search thread adds to a counter of its own so
// that the hottest line of the engine shares no cache line between cores; reading sums them.
class NodeCounter {
public:
    void operator++() {
        std::atomic<uint64_t>& own = slotOfThisThread();
        if (&own == &overflow_) {
            overflow_.fetch_add(1, std::memory_order_relaxed);
        } else {
            own.store(own.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        }
    }
    uint64_t load() const;
    // Only while no search runs.
    void reset();

    // A thread's slot, taken on its first count and given back (its count kept) when it ends.
    struct alignas(64) Slot {
        std::atomic<uint64_t> value{0};
        std::atomic<bool> taken{false};
    };
    static constexpr int slotCount = 128;

private:
    std::atomic<uint64_t>& slotOfThisThread();
    Slot slots_[slotCount];
    std::atomic<uint64_t> retired_{0};  // counts of threads that have ended
    std::atomic<uint64_t> overflow_{0}; // shared by threads beyond slotCount
    friend struct NodeCounterLease;
};

// Counted by the evaluation on every search thread, read by the search driver and the tools.
// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern NodeCounter nodeCount;
