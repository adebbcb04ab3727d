#include "ScreenReader.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

// An X error (a display that went away mid-read) must fail the read, not end the test program.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

ScreenReader::~ScreenReader() {
    if (connection_ != nullptr) {
        XCloseDisplay(static_cast<Display*>(connection_));
    }
}

std::vector<uint8_t> ScreenReader::read(int width, int height) {
    if (connection_ == nullptr) {
        XSetErrorHandler(ignoreError);
        connection_ = XOpenDisplay(display_.c_str());
        if (connection_ == nullptr) {
            return {};
        }
    }
    Display* display = static_cast<Display*>(connection_);
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    const int red = shiftOf(image->red_mask);
    const int green = shiftOf(image->green_mask);
    const int blue = shiftOf(image->blue_mask);
    size_t at = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rgb[at++] = static_cast<uint8_t>((pixel & image->red_mask) >> red);
            rgb[at++] = static_cast<uint8_t>((pixel & image->green_mask) >> green);
            rgb[at++] = static_cast<uint8_t>((pixel & image->blue_mask) >> blue);
        }
    }
    XDestroyImage(image);
    return rgb;
}
