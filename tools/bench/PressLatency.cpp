// For the window benchmark: presses the left button on a piece of the window on $DISPLAY and
// prints how many milliseconds pass until the red mark of the picked square is on the screen,
// looking at the screen every millisecond or two; then releases the button on the same square
// (which puts the piece back) and waits until the mark is gone.
//   veltmark-press-latency X Y
// Exit status 1 when the mark does not show (or does not go) within 5 seconds.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The square's mark is red at three quarters over the wood; the piece covers its middle, so a
// box around the square's centre is looked at.
constexpr int boxHalf = 26;
constexpr int markPixels = 30;

int redPixels(Display* display, Window root, int x, int y) {
    XImage* image = XGetImage(display, root, x - boxHalf, y - boxHalf, 2 * boxHalf, 2 * boxHalf,
                              AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0;
    }
    int count = 0;
    for (int row = 0; row < image->height; ++row) {
        for (int column = 0; column < image->width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            count += r > 150 && g < 90 && b < 90 ? 1 : 0;
        }
    }
    XDestroyImage(image);
    return count;
}

bool waitFor(Display* display, Window root, int x, int y, bool shown) {
    const auto end = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < end) {
        if ((redPixels(display, root, x, y) >= markPixels) == shown) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: veltmark-press-latency X Y\n");
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "veltmark-press-latency: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // xdotool has handed the press to the server when it returns.
    xdotool("mousedown 1");
    const auto pressed = Clock::now();
    const bool shown = waitFor(display, root, x, y, true);
    const auto seen = Clock::now();
    xdotool("mouseup 1");
    const bool gone = waitFor(display, root, x, y, false);
    XCloseDisplay(display);
    if (!shown || !gone) {
        std::fprintf(stderr, "veltmark-press-latency: the mark %s\n",
                     shown ? "did not go" : "did not show");
        return 1;
    }
    std::printf("%.1f\n", std::chrono::duration<double, std::milli>(seen - pressed).count());
    return 0;
}
