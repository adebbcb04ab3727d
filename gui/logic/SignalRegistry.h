#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Callbacks registered under a name and called together when the name is emitted: how the
// rendering thread releases the threads that wait for a dialog when it ends.
using SignalConnection = std::uint64_t;

// The connection names this callback alone, so that one waiter can leave without the others.
SignalConnection connectSignal(const std::string& name, std::function<void()> callback);
// Calls every callback under the name in the order they were connected.
void emitSignal(const std::string& name);
void disconnectSignal(const std::string& name, SignalConnection connection);
// Every callback under the name.
void disconnectSignal(const std::string& name);

inline const std::string renderingThreadEnding = "rendering thread about to terminate";
