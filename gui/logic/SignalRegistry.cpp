#include "SignalRegistry.h"

#include <map>
#include <mutex>

namespace {

std::mutex registryMutex;
std::multimap<std::string, std::function<void()>> registry;

} // namespace

void connectSignal(const std::string& name, std::function<void()> callback) {
    std::lock_guard lock(registryMutex);
    registry.emplace(name, std::move(callback));
}

void emitSignal(const std::string& name) {
    std::lock_guard lock(registryMutex);
    const auto [first, last] = registry.equal_range(name);
    for (auto it = first; it != last; ++it) {
        it->second();
    }
}

void disconnectSignal(const std::string& name) {
    std::lock_guard lock(registryMutex);
    registry.erase(name);
}
