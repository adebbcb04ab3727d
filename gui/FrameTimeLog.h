#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>

// For the window benchmark: when the environment variable VELTMARK_FRAME_TIMES names a file,
// every frame adds a line to it: the wall-clock time in milliseconds when the frame was done,
// how long it took to draw in microseconds, and 1 while a move was animating, else 0.
class FrameTimeLog {
public:
    FrameTimeLog();
    bool active() const { return file_.is_open(); }
    void frameStarts() { start_ = std::chrono::steady_clock::now(); }
    void frameDone(bool animating);

private:
    std::ofstream file_;
    std::chrono::steady_clock::time_point start_;
};
