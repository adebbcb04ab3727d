// For the window benchmark: presses the left button on a piece of the window on $DISPLAY and
// prints how many milliseconds pass until the red mark of the picked square is on the screen,
// looking at the screen every millisecond or two; then releases the button on the same square
// and presses Escape (which puts the piece back) and waits until the mark is gone.
//   veltmark-press-latency X Y
// Or taps a key (an arrow key turns the camera) and prints how many milliseconds pass until the
// board's picture has changed:
//   veltmark-press-latency --key NAME
// Exit status 1 when the mark does not show (or does not go), or the picture does not change,
// within 5 seconds.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

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

// A strip across the board, through the pieces of White's second rank: any turn of the camera
// moves what it shows.
constexpr int stripX = 150, stripY = 400, stripWidth = 500, stripHeight = 4;
constexpr int changedPixels = 100;

std::vector<unsigned long> strip(Display* display, Window root) {
    std::vector<unsigned long> pixels;
    XImage* image =
        XGetImage(display, root, stripX, stripY, stripWidth, stripHeight, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    for (int row = 0; row < image->height; ++row) {
        for (int column = 0; column < image->width; ++column) {
            pixels.push_back(XGetPixel(image, column, row));
        }
    }
    XDestroyImage(image);
    return pixels;
}

int differing(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b) {
    if (a.size() != b.size()) {
        return 0;
    }
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int difference = 0;
        for (int shift : {16, 8, 0}) {
            difference += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                   static_cast<int>((b[i] >> shift) & 0xFF));
        }
        count += difference > 24 ? 1 : 0;
    }
    return count;
}

int keyLatency(Display* display, const std::string& key) {
    const Window root = DefaultRootWindow(display);
    const std::vector<unsigned long> before = strip(display, root);
    xdotool("key " + key);
    const auto pressed = Clock::now();
    const auto end = pressed + std::chrono::seconds(5);
    while (Clock::now() < end) {
        if (differing(before, strip(display, root)) >= changedPixels) {
            const auto seen = Clock::now();
            std::printf("%.1f\n",
                        std::chrono::duration<double, std::milli>(seen - pressed).count());
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::fprintf(stderr, "veltmark-press-latency: the picture did not change\n");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: veltmark-press-latency X Y | --key NAME\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "veltmark-press-latency: cannot open the display\n");
        return 2;
    }
    if (std::string(argv[1]) == "--key") {
        const int status = keyLatency(display, argv[2]);
        XCloseDisplay(display);
        return status;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const Window root = DefaultRootWindow(display);
    xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // xdotool has handed the press to the server when it returns.
    xdotool("mousedown 1");
    const auto pressed = Clock::now();
    const bool shown = waitFor(display, root, x, y, true);
    const auto seen = Clock::now();
    xdotool("mouseup 1");
    // The release leaves the piece picked for a click on its target; Escape puts it back (a
    // program that drops the pick at the release takes the key for nothing).
    xdotool("key Escape");
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
