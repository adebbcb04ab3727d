#include "FrameTimeLog.h"

#include "Environment.h"

FrameTimeLog::FrameTimeLog() {
    if (const auto path = environmentValue("VELTMARK_FRAME_TIMES")) {
        file_.open(*path, std::ios::out | std::ios::trunc);
    }
}

void FrameTimeLog::frameDone(bool animating) {
    if (!file_.is_open()) {
        return;
    }
    const auto drawn = std::chrono::steady_clock::now() - start_;
    const auto wallClock = std::chrono::system_clock::now().time_since_epoch();
    file_ << std::chrono::duration_cast<std::chrono::milliseconds>(wallClock).count() << ' '
          << std::chrono::duration_cast<std::chrono::microseconds>(drawn).count() << ' '
          << (animating ? 1 : 0) << '\n';
    file_.flush();
}
