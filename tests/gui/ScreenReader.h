#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The screen of an X display, read over one connection kept open, through shared memory where
// the server offers it: the window tests look at the screen many times a second, and a look
// through the socket (two copies of the whole screen, pixel by pixel conversion) made that
// polling a fifth of their processor time.
class ScreenReader {
public:
    explicit ScreenReader(std::string display);
    ~ScreenReader();
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // RGB bytes of the top-left width x height pixels, rows from the top; empty when the display
    // cannot be read (not up yet, or gone).
    std::vector<uint8_t> read(int width, int height);

private:
    // Kept out of this header: Xlib's macros (None, Success, Status) clash with the tests' own
    // names.
    struct Connection;
    std::string display_;
    std::unique_ptr<Connection> connection_;
};
