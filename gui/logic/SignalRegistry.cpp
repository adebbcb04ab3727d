#include "SignalRegistry.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

std::mutex registryMutex;
// Ordered by name, then by connection, which grows: emitting walks them as they were connected.
std::map<std::pair<std::string, SignalConnection>, std::function<void()>> registry;
SignalConnection nextConnection = 0;

} // namespace

SignalConnection connectSignal(const std::string& name, std::function<void()> callback) {
    std::lock_guard lock(registryMutex);
    const SignalConnection connection = nextConnection++;
    registry.emplace(std::pair{name, connection}, std::move(callback));
    return connection;
}

void emitSignal(const std::string& name) {
    std::lock_guard lock(registryMutex);
    for (auto it = registry.lower_bound({name, 0}); it != registry.end() && it->first.first == name;
         ++it) {
        it->second();
    }
}

void disconnectSignal(const std::string& name, SignalConnection connection) {
    std::lock_guard lock(registryMutex);
    registry.erase({name, connection});
}

void disconnectSignal(const std::string& name) {
    std::lock_guard lock(registryMutex);
    registry.erase(registry.lower_bound({name, 0}), registry.lower_bound({name + '\0', 0}));
}
