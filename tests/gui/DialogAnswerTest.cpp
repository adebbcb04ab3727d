#include "DialogAnswer.h"
#include "SignalRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(SignalRegistryTest, CallsInOrderOfConnectionAndForgetsOnDisconnect) {
    std::vector<int> calls;
    connectSignal("test first", [&] { calls.push_back(1); });
    connectSignal("test second", [&] { calls.push_back(9); });
    const SignalConnection two = connectSignal("test first", [&] { calls.push_back(2); });
    connectSignal("test first", [&] { calls.push_back(3); });
    emitSignal("test first");
    EXPECT_EQ(calls, (std::vector{1, 2, 3}));

    disconnectSignal("test first", two);
    calls.clear();
    emitSignal("test first");
    EXPECT_EQ(calls, (std::vector{1, 3})) << "one connection leaves, the others stay";

    disconnectSignal("test first");
    calls.clear();
    emitSignal("test first");
    emitSignal("test second");
    EXPECT_EQ(calls, std::vector{9}) << "other names keep their callbacks";
    disconnectSignal("test second");
}

namespace {

// Whether the waiter ends within ten seconds; if it does not, an answer frees it so that the test
// can end.
template <typename T> bool released(std::future<T>& asked, DialogAnswer<T>& answer) {
    if (asked.wait_for(10s) == std::future_status::ready) {
        return true;
    }
    answer.give(T{});
    return false;
}

} // namespace

TEST(DialogAnswerTest, AWaitEndsWithTheGivenAnswerOrWhenTheRenderingThreadEnds) {
    {
        // Answered from the rendering thread, before or while the asking thread waits.
        std::atomic<bool> renderingEnded{false};
        DialogAnswer<int> answer(0);
        std::thread renderer([&] { answer.give(11); });
        EXPECT_EQ(answer.wait(renderingEnded), 11);
        renderer.join();
    }
    {
        // The rendering thread ends while the dialog is open: its signal releases the waiter.
        // Emissions before the waiter has connected reach nobody; keep emitting until one does.
        std::atomic<bool> renderingEnded{false};
        DialogAnswer<bool> answer(false);
        auto asked = std::async(std::launch::async, [&] { return answer.wait(renderingEnded); });
        for (int i = 0; i < 5000 && asked.wait_for(2ms) != std::future_status::ready; ++i) {
            emitSignal(renderingThreadEnding);
        }
        EXPECT_TRUE(released(asked, answer)) << "the signal released nobody";
        EXPECT_FALSE(asked.get());
    }
    {
        // The first dialog's end leaves the second's release in place: the rendering thread's
        // end still frees it, though the flag is not yet set.
        std::atomic<bool> renderingEnded{false};
        DialogAnswer<int> first(0), second(0);
        auto askedFirst =
            std::async(std::launch::async, [&] { return first.wait(renderingEnded); });
        auto askedSecond =
            std::async(std::launch::async, [&] { return second.wait(renderingEnded); });
        // Both waits have connected by then.
        std::this_thread::sleep_for(100ms);
        first.give(8);
        EXPECT_EQ(askedFirst.get(), 8);
        emitSignal(renderingThreadEnding);
        EXPECT_TRUE(released(askedSecond, second)) << "the first dialog took the second's release";
        EXPECT_EQ(askedSecond.get(), 0);

        // A dialog opened after the rendering thread has gone does not wait for an answer.
        renderingEnded = true;
        DialogAnswer<int> late(0);
        auto askedLate = std::async(std::launch::async, [&] { return late.wait(renderingEnded); });
        EXPECT_TRUE(released(askedLate, late));
        EXPECT_EQ(askedLate.get(), 0);
    }
}
