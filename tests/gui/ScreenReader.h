#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The screen of an X display, read over one connection kept open: a look at the screen costs one
// request instead of a process of its own, which the window tests' polling made their main cost.
class ScreenReader {
public:
    explicit ScreenReader(std::string display) : display_(std::move(display)) {}
    ~ScreenReader();
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // RGB bytes of the top-left width x height pixels, rows from the top; empty when the display
    // cannot be read (not up yet, or gone).
    std::vector<uint8_t> read(int width, int height);

private:
    std::string display_;
    // A Display*, kept out of this header: Xlib's macros (None, Success, Status) clash with the
    // tests' own names.
    void* connection_ = nullptr;
};
