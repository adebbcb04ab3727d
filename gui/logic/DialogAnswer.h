#pragma once

#include "SignalRegistry.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

// The answer to one open dialog, handed from the rendering thread, which runs the dialog's
// buttons, to the thread that asked and waits.
template <typename T> class DialogAnswer {
public:
    explicit DialogAnswer(T unanswered) : value_(unanswered) {}

    // From a button action.
    void give(T value) {
        std::lock_guard lock(mutex_);
        value_ = value;
        answered_ = true;
        answerReady_.notify_all();
    }

    // Blocks until a button has answered or the rendering thread has ended; then returns the
    // answer, or the unanswered value. `renderingEnded` is set before the ending is emitted, so a
    // wait that begins after the emission does not block.
    T wait(const std::atomic<bool>& renderingEnded) {
        const SignalConnection connection =
            connectSignal(renderingThreadEnding, [this] { release(); });
        {
            std::unique_lock lock(mutex_);
            answerReady_.wait(lock, [&] { return answered_ || released_ || renderingEnded; });
        }
        disconnectSignal(renderingThreadEnding, connection);
        std::lock_guard lock(mutex_);
        return value_;
    }

private:
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        answerReady_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable answerReady_;
    T value_;
    bool answered_ = false;
    bool released_ = false;
};
