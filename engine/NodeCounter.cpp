#include "NodeCounter.h"

NodeCounter nodeCount;

// Holds a thread's slot of nodeCount for the thread's lifetime.
struct NodeCounterLease {
    NodeCounter::Slot* slot = nullptr;
    ~NodeCounterLease() {
        if (slot) {
            nodeCount.retired_.fetch_add(slot->value.exchange(0), std::memory_order_relaxed);
            slot->taken.store(false, std::memory_order_release);
        }
    }
};

std::atomic<uint64_t>& NodeCounter::slotOfThisThread() {
    static thread_local NodeCounterLease lease;
    static thread_local std::atomic<uint64_t>* own = nullptr;
    if (own == nullptr) {
        own = &overflow_;
        for (auto& slot : slots_) {
            bool expected = false;
            if (slot.taken.compare_exchange_strong(expected, true, std::memory_order_acquire)) {
                lease.slot = &slot;
                own = &slot.value;
                break;
            }
        }
    }
    return *own;
}

uint64_t NodeCounter::load() const {
    uint64_t total =
        retired_.load(std::memory_order_relaxed) + overflow_.load(std::memory_order_relaxed);
    for (const auto& slot : slots_) {
        total += slot.value.load(std::memory_order_relaxed);
    }
    return total;
}

void NodeCounter::reset() {
    retired_.store(0, std::memory_order_relaxed);
    overflow_.store(0, std::memory_order_relaxed);
    for (auto& slot : slots_) {
        slot.value.store(0, std::memory_order_relaxed);
    }
}
