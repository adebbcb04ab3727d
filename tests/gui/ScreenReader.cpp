#include "ScreenReader.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace {

// How far to shift a colour mask right so that its top bits land in a byte.
int shiftOf(unsigned long mask) {
    int shift = 0;
    while (mask > 0xff) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// An X error (a display that went away mid-read, a refused shared segment) must fail the read,
// not end the test program.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

void convertToRgb(XImage& image, int width, int height, std::vector<uint8_t>& rgb) {
    const int red = shiftOf(image.red_mask);
    const int green = shiftOf(image.green_mask);
    const int blue = shiftOf(image.blue_mask);
    uint8_t* out = rgb.data();
    const bool wordPixels = image.bits_per_pixel == 32 && image.byte_order == LSBFirst;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.data + y * image.bytes_per_line);
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = wordPixels ? row[x] : XGetPixel(&image, x, y);
            *out++ = static_cast<uint8_t>((pixel & image.red_mask) >> red);
            *out++ = static_cast<uint8_t>((pixel & image.green_mask) >> green);
            *out++ = static_cast<uint8_t>((pixel & image.blue_mask) >> blue);
        }
    }
}

} // namespace

struct ScreenReader::Connection {
    Display* display = nullptr;
    // The shared image, made for the first size asked for; null where the server has no shared
    // memory for us (another host, or the extension off).
    XImage* shared = nullptr;
    XShmSegmentInfo segment{};
    int width = 0, height = 0;

    explicit Connection(Display* opened) : display(opened) {}
    ~Connection() {
        releaseShared();
        XCloseDisplay(display);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void releaseShared() {
        if (shared == nullptr) {
            return;
        }
        XShmDetach(display, &segment);
        XSync(display, False);
        XDestroyImage(shared);
        shmdt(segment.shmaddr);
        shared = nullptr;
    }

    XImage* sharedImage(int w, int h) {
        if (shared != nullptr && (w != width || h != height)) {
            releaseShared();
        }
        if (shared != nullptr || !XShmQueryExtension(display)) {
            return shared;
        }
        const int screen = DefaultScreen(display);
        XImage* image = XShmCreateImage(display, DefaultVisual(display, screen),
                                        DefaultDepth(display, screen), ZPixmap, nullptr, &segment,
                                        static_cast<unsigned>(w), static_cast<unsigned>(h));
        if (image == nullptr) {
            return nullptr;
        }
        segment.shmid =
            shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * h, IPC_CREAT | 0600);
        if (segment.shmid < 0) {
            XDestroyImage(image);
            return nullptr;
        }
        segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
        segment.readOnly = False;
        const bool attached = segment.shmaddr != reinterpret_cast<char*>(-1) &&
                              XShmAttach(display, &segment) && XSync(display, False);
        // Marked for removal now, the segment goes with the last process that detaches it, even
        // if the test program is killed.
        shmctl(segment.shmid, IPC_RMID, nullptr);
        if (!attached) {
            if (segment.shmaddr != reinterpret_cast<char*>(-1)) {
                shmdt(segment.shmaddr);
            }
            image->data = nullptr;
            XDestroyImage(image);
            return nullptr;
        }
        shared = image;
        width = w;
        height = h;
        return shared;
    }
};

ScreenReader::ScreenReader(std::string display) : display_(std::move(display)) {}

ScreenReader::~ScreenReader() = default;

std::vector<uint8_t> ScreenReader::read(int width, int height) {
    if (connection_ == nullptr) {
        XSetErrorHandler(ignoreError);
        Display* display = XOpenDisplay(display_.c_str());
        if (display == nullptr) {
            return {};
        }
        connection_ = std::make_unique<Connection>(display);
    }
    Display* display = connection_->display;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    if (XImage* shared = connection_->sharedImage(width, height)) {
        if (XShmGetImage(display, DefaultRootWindow(display), shared, 0, 0, AllPlanes)) {
            convertToRgb(*shared, width, height, rgb);
            return rgb;
        }
        return {};
    }
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    convertToRgb(*image, width, height, rgb);
    XDestroyImage(image);
    return rgb;
}
