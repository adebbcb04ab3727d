#pragma once

// The real program in a window on a private Xvfb display, driven with xdotool and looked at
// through screenshots, as a person would use it.

#include "Camera.h"
#include "ScreenButtons.h"
#include "ScreenReader.h"
#include "SettingsFile.h"
#include "WindowGeometry.h"

#include <GL/glu.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace window_test {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int screenWidth = 800;
constexpr int screenHeight = 600;

inline std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

inline bool waitUntil(const std::function<bool()>& condition, double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

// A child process started with its own environment and working directory.
inline pid_t spawnProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                          const fs::path& directory, const fs::path& output) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (!directory.empty() && chdir(directory.c_str()) != 0) {
            _exit(127);
        }
        if (!output.empty()) {
            FILE* out = std::fopen(output.c_str(), "w");
            if (out != nullptr) {
                dup2(fileno(out), 1);
                dup2(fileno(out), 2);
            }
        }
        std::vector<char*> args;
        for (const auto& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        std::vector<char*> envp;
        for (const auto& e : env) {
            envp.push_back(const_cast<char*>(e.c_str()));
        }
        envp.push_back(nullptr);
        execve(args[0], args.data(), envp.data());
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// The process's exit status, or nothing if it is still running after `seconds`.
inline std::optional<int> waitForExit(pid_t pid, double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            if (WIFEXITED(status)) {
                return WEXITSTATUS(status);
            }
            return 128 + WTERMSIG(status);
        }
        if (Clock::now() >= end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// An X server of our own, by default 800 x 600, so that the 800 x 600 window fills the screen.
class VirtualDisplay {
public:
    explicit VirtualDisplay(WindowSize size = {screenWidth, screenHeight}) : size_(size) {
        const std::string geometry =
            std::to_string(size.width) + "x" + std::to_string(size.height) + "x24";
        // About one start in twenty cannot be reached at once: try another number.
        for (int attempt = 0; attempt < 4 && name_.empty(); ++attempt) {
            const int number = 300 + (getpid() * 7 + attempt * 13) % 600;
            const std::string digits = std::to_string(number);
            if (fs::exists("/tmp/.X" + digits + "-lock")) {
                continue;
            }
            std::string name = ":";
            name += digits;
            // Without -noreset the server resets whenever its last client leaves, and refuses
            // the clients that come meanwhile: a program started just after the probe or a
            // screenshot then could not open the display and ended at once.
            pid_ = spawnProcess(
                {"/usr/bin/Xvfb", name, "-screen", "0", geometry, "-nolisten", "tcp", "-noreset"},
                environmentStrings(), {}, "/dev/null");
            std::string probe = "DISPLAY=";
            probe += name;
            probe += " xdotool getdisplaygeometry >/dev/null 2>&1";
            const bool up = waitUntil([&] { return std::system(probe.c_str()) == 0; }, 10);
            if (up) {
                name_ = name;
            } else {
                kill(pid_, SIGTERM);
                waitForExit(pid_, 5);
            }
        }
    }
    ~VirtualDisplay() {
        if (!name_.empty()) {
            kill(pid_, SIGTERM);
            waitForExit(pid_, 5);
        }
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ready() const { return !name_.empty(); }
    const std::string& name() const { return name_; }
    WindowSize size() const { return size_; }

    static std::vector<std::string> environmentStrings() {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            env.emplace_back(*e);
        }
        return env;
    }

private:
    WindowSize size_;
    std::string name_;
    pid_t pid_ = -1;
};

struct Point {
    int x = 0, y = 0;
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

inline Rect around(Point p, int half = 14) {
    return {p.x - half, p.y - half, 2 * half, 2 * half};
}

// The screen as RGB bytes, rows from the top.
struct Screenshot {
    std::vector<uint8_t> rgb;
    int width = screenWidth, height = screenHeight;

    bool valid() const { return rgb.size() == size_t(width) * height * 3; }
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Pixels of the rectangle for which the test holds.
    int count(Rect r, const std::function<bool(const uint8_t*)>& test) const {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x) {
                n += test(at(x, y)) ? 1 : 0;
            }
        }
        return n;
    }
    int brightPixels(Rect r) const {
        return count(r, [](const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; });
    }
    // Pixels of the rectangle that differ from the other picture by more than a trace.
    int differingPixels(const Screenshot& other, Rect r) const {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x) {
                const uint8_t* a = at(x, y);
                const uint8_t* b = other.at(x, y);
                n += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 24;
            }
        }
        return n;
    }
};

// The focused toolkit window's title bar has this colour.
inline bool focusedTitleColour(const uint8_t* p) {
    return p[0] == 41 && p[1] == 74 && p[2] == 122;
}

inline bool toolkitWindowIn(const Screenshot& shot, Rect r) {
    return shot.count(r, focusedTitleColour) > 400;
}

inline bool toolkitWindowShown(const Screenshot& shot) {
    return toolkitWindowIn(shot, {0, 0, screenWidth, screenHeight});
}

// The middle of the screen, where message boxes and questions appear.
inline bool boxInTheMiddle(const Screenshot& shot) {
    return toolkitWindowIn(shot, {250, 200, 300, 200});
}

inline int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// Where the centre of a square appears with the camera as the program starts, in a window of
// the given size at the screen's top left corner.
inline Point squareOnScreen(int file, int rank, WindowSize window = {screenWidth, screenHeight}) {
    const CameraView view = cameraView(Camera{});
    // The model-view matrix of the scene: gluLookAt, then the board translation.
    auto normalised = [](Vector3 v) {
        const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        return Vector3{v.x / n, v.y / n, v.z / n};
    };
    auto cross = [](Vector3 a, Vector3 b) {
        return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    };
    const Vector3 forward = normalised({-view.eye.x, -view.eye.y, -view.eye.z});
    const Vector3 side = normalised(cross(forward, view.up));
    const Vector3 up = cross(side, forward);
    const Vector3 p{2.0 * file - 9 - view.eye.x, -view.eye.y, -2.0 * rank + 9 - view.eye.z};
    const double x = side.x * p.x + side.y * p.y + side.z * p.z;
    const double y = up.x * p.x + up.y * p.y + up.z * p.z;
    const double z = -(forward.x * p.x + forward.y * p.y + forward.z * p.z);
    const ScenePerspective perspective = scenePerspective(window.width, window.height);
    const double f = 1.0 / std::tan(perspective.fieldOfViewY * 3.14159265358979323846 / 360.0);
    const double ndcX = f / perspective.aspect * x / -z;
    const double ndcY = f * y / -z;
    return {static_cast<int>(std::lround((ndcX + 1) / 2 * window.width)),
            static_cast<int>(std::lround(window.height - (ndcY + 1) / 2 * window.height))};
}

inline Point squareOnScreen(const std::string& square,
                            WindowSize window = {screenWidth, screenHeight}) {
    return squareOnScreen(square[0] - 'a' + 1, square[1] - '0', window);
}

class WindowSession {
public:
    // Starts the program in a scratch working directory holding the given settings file.
    // `prepare` may add files to the directory before the program starts.
    WindowSession(const VirtualDisplay& display, const std::string& name,
                  const std::optional<Settings>& prepared, std::vector<std::string> options = {},
                  const std::function<void(const fs::path&)>& prepare = {},
                  bool audioToFile = false)
        : display_(display.name()), screen_(display.size()) {
        directory_ = fs::temp_directory_path() /
                     ("veltmark-window-" + std::to_string(getpid()) + "-" + name);
        fs::remove_all(directory_);
        fs::create_directories(directory_ / "home");
        if (prepared) {
            const SettingsImage image = encodeSettings(*prepared);
            std::ofstream(directory_ / "settings.dat", std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()), image.size());
        }
        if (prepare) {
            prepare(directory_);
        }
        shots_ = fs::path(VELTMARK_WINDOW_SHOTS);
        fs::create_directories(shots_);
        for (const auto& e : VirtualDisplay::environmentStrings()) {
            const auto key = e.substr(0, e.find('='));
            if (key != "DISPLAY" && key != "HOME" && key != "XDG_DATA_DIRS" &&
                key != "XDG_DATA_HOME" && key != "XDG_CONFIG_HOME" && key != "APPDATA") {
                env_.push_back(e);
            }
        }
        env_.push_back("DISPLAY=" + display_);
        // Mesa's software renderer then draws on the program's own thread: less processor time
        // than with helper threads, on a machine that the rest of the suite keeps busy.
        env_.push_back("LP_NUM_THREADS=0");
        // Its shaders, compiled at every start, are kept between the tests' programs: a
        // third of a start's processor time otherwise.
        env_.push_back("MESA_SHADER_CACHE_DIR=" + (shots_.parent_path() / "shader-cache").string());
        env_.push_back("HOME=" + (directory_ / "home").string());
        env_.push_back(std::string("XDG_DATA_DIRS=") + VELTMARK_BUILD_DATA);
        // Sounds go nowhere, or with `audioToFile` to a file where the test finds them: SDL's
        // driver for that writes a warning to the program's output at every sound.
        if (audioToFile) {
            env_.push_back("SDL_AUDIODRIVER=disk");
            env_.push_back("SDL_DISKAUDIOFILE=" + (directory_ / "audio.raw").string());
        } else {
            env_.push_back("SDL_AUDIODRIVER=dummy");
        }
        argv_ = {VELTMARK_BINARY};
        argv_.insert(argv_.end(), options.begin(), options.end());
        pid_ = spawnProcess(argv_, env_, directory_, directory_ / "output.txt");
    }

    ~WindowSession() {
        if (!exitStatus_) {
            kill(pid_, SIGKILL);
            waitForExit(pid_, 5);
        }
        fs::remove_all(directory_);
    }
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    const fs::path& directory() const { return directory_; }
    // The program's process, for limits that a test puts on it while it runs.
    pid_t pid() const { return pid_; }

    // True once the first frame is on the screen (the status line is drawn). A program that
    // ended or drew nothing is started once more; one that ended is not waited for.
    bool waitForWindow(double seconds = 20) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            bool drawn = false;
            waitUntil(
                [&] {
                    const Screenshot shot = screenshot();
                    drawn = shot.valid() && shot.brightPixels({20, 548, 150, 30}) > 20;
                    if (!drawn) {
                        exitStatus_ = waitForExit(pid_, 0);
                    }
                    return drawn || exitStatus_;
                },
                seconds);
            if (drawn) {
                return true;
            }
            if (!exitStatus_) {
                kill(pid_, SIGKILL);
                exitStatus_ = waitForExit(pid_, 5);
            }
            std::fprintf(stderr, "The window was not drawn; the program said: %s\n",
                         fileText("output.txt").c_str());
            if (attempt == 0) {
                exitStatus_.reset();
                pid_ = spawnProcess(argv_, env_, directory_, directory_ / "output.txt");
            }
        }
        return false;
    }

    void xdotool(const std::string& arguments) const {
        std::system(("DISPLAY=" + display_ + " xdotool " + arguments + " >/dev/null 2>&1").c_str());
    }
    void key(const std::string& name) const { xdotool("key " + name); }
    static std::string mouseTo(Point p) {
        return "mousemove " + std::to_string(p.x) + " " + std::to_string(p.y);
    }
    void moveMouse(Point p) const { xdotool(mouseTo(p)); }
    void pause(int ms) const { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    void click(Point p) const {
        xdotool(mouseTo(p) + " sleep 0.15 click 1");
        pause(150);
    }
    // Moves given as "e2e4", each dragged from square to square.
    void play(const std::vector<std::string>& moves) const {
        for (const auto& move : moves) {
            drag(move.substr(0, 2), move.substr(2, 2));
        }
    }
    // Press on one square, drag, release on the other, in a window of the given size.
    void drag(const std::string& from, const std::string& to,
              WindowSize window = {screenWidth, screenHeight}) const {
        const Point a = squareOnScreen(from, window);
        const Point b = squareOnScreen(to, window);
        // One xdotool for the whole gesture: its own pauses keep the steps apart.
        xdotool(mouseTo(a) + " sleep 0.12 mousedown 1 sleep 0.08 " +
                mouseTo({(a.x + b.x) / 2, (a.y + b.y) / 2}) + " sleep 0.05 " + mouseTo(b) +
                " sleep 0.12 mouseup 1");
        pause(200);
    }

    // The screen now; kept as a PNG for a look at it when a name is given.
    Screenshot screenshot(const std::string& keepAs = "") const {
        Screenshot shot;
        shot.width = screen_.width;
        shot.height = screen_.height;
        shot.rgb = screenReader_.read(screen_.width, screen_.height);
        if (!keepAs.empty() && shot.valid()) {
            const fs::path raw = directory_ / "shot.rgb";
            std::ofstream(raw, std::ios::binary)
                .write(reinterpret_cast<const char*>(shot.rgb.data()),
                       static_cast<std::streamsize>(shot.rgb.size()));
            const std::string size =
                std::to_string(screen_.width) + "x" + std::to_string(screen_.height);
            // The fastest compression: these pictures are looked at, not kept.
            std::system(("convert -size " + size + " -depth 8 rgb:" + quoted(raw.string()) +
                         " -define png:compression-level=1 " +
                         quoted((shots_ / (keepAs + ".png")).string()) + " >/dev/null 2>&1")
                            .c_str());
        }
        return shot;
    }

    // The screen once the condition holds. A screenshot may catch a frame half copied to the
    // screen, so the condition must hold on a second one taken a moment later.
    Screenshot waitForScreen(const std::function<bool(const Screenshot&)>& condition,
                             double seconds) const {
        Screenshot last;
        waitUntil(
            [&] {
                last = screenshot();
                if (!last.valid() || !condition(last)) {
                    return false;
                }
                pause(100);
                last = screenshot();
                return last.valid() && condition(last);
            },
            seconds);
        return last;
    }

    // The picture once the program has stopped changing it: the same to the pixel on three
    // looks in a row. The mouse is nudged between looks, away from everything that reacts to
    // it, so that a program waiting for its next event to finish what it was doing gets one;
    // then it is left alone for a while, since a program that draws all the time may keep its
    // input waiting. On a busy machine a frame can take long.
    Screenshot settledScreen(double seconds = 30) const {
        Screenshot last = screenshot();
        int looks = 0;
        int sameLooks = 0;
        waitUntil(
            [&] {
                moveMouse({400 + ++looks % 2, 5});
                pause(400);
                Screenshot next = screenshot();
                sameLooks = next.valid() && next.rgb == last.rgb ? sameLooks + 1 : 0;
                last = std::move(next);
                return sameLooks >= 2;
            },
            seconds);
        return last;
    }

    // The program opens with the settings dialog; Escape closes it. The board it leaves.
    Screenshot closeOpeningDialog() const {
        waitForScreen(toolkitWindowShown, 30);
        key("Escape");
        return waitForScreen([](const Screenshot& s) { return !toolkitWindowShown(s); }, 30);
    }

    std::string fileText(const std::string& name) const {
        std::ifstream in(directory_ / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The engine's moves in the log, in order.
    std::vector<std::string> loggedMoves() const {
        std::vector<std::string> moves;
        std::istringstream lines(fileText("Veltmark.log"));
        for (std::string line; std::getline(lines, line);) {
            const bool isMove = (line.size() == 4 || line.size() == 5) && line[0] >= 'a' &&
                                line[0] <= 'h' && line[1] >= '1' && line[1] <= '8';
            if (isMove) {
                moves.push_back(line);
            }
        }
        return moves;
    }

    std::optional<int> terminate(double seconds = 10) {
        kill(pid_, SIGTERM);
        exitStatus_ = waitForExit(pid_, seconds);
        return exitStatus_;
    }
    std::optional<int> waitForEnd(double seconds) {
        exitStatus_ = waitForExit(pid_, seconds);
        return exitStatus_;
    }
    // Starts the program again in the same folders, once it has ended.
    void restart() {
        exitStatus_.reset();
        pid_ = spawnProcess(argv_, env_, directory_, directory_ / "output.txt");
    }

private:
    std::string display_;
    WindowSize screen_;
    mutable ScreenReader screenReader_{display_};
    std::vector<std::string> argv_;
    std::vector<std::string> env_;
    fs::path directory_;
    fs::path shots_;
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

// Who plays each side (0 a human, 1 the engine) and the engine's limits, on two threads.
inline Settings preparedSettings(int whitePlayer, int blackPlayer, double seconds, int depth) {
    Settings s = defaultSettings();
    s.whitePlayer = whitePlayer;
    s.blackPlayer = blackPlayer;
    s.timePerMove = seconds;
    s.maxDepth = static_cast<uint8_t>(depth);
    s.threadCount = 2;
    return s;
}

inline Settings humanAgainstHuman() {
    Settings s = defaultSettings();
    s.whitePlayer = 0;
    s.blackPlayer = 0;
    return s;
}

// A window test skips where no virtual display can be started.
class OnVirtualDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!display.ready()) {
            GTEST_SKIP() << "no Xvfb display could be started";
        }
    }
    VirtualDisplay display;
};

// Where the on-screen buttons are, laid out from their texts as the program does it.
ScreenButtons buttonsOnScreen();

inline Point centreOf(const ScreenButton& button) {
    return {button.x + button.width / 2, button.hitY + button.height / 2};
}

} // namespace window_test
