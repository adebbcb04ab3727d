#pragma once

// What follows from the window's size: the least size allowed, the scene's perspective, and
// where a toolkit window must stand to stay on the screen.

// The settings dialog, the largest window the program shows, fits whole with room to spare.
inline constexpr int minimumWindowWidth = 640;
inline constexpr int minimumWindowHeight = 480;

struct WindowSize {
    int width = 800;
    int height = 600;
    bool operator==(const WindowSize&) const = default;
};

// The size asked for, grown to the minimum where it falls short.
WindowSize allowedWindowSize(int width, int height);

struct ScenePerspective {
    double fieldOfViewY = 60.0; // degrees
    double aspect = 800.0 / 600.0;
    double nearPlane = 1.0;
    double farPlane = 500.0;
};

// A vertical field of view of 60 degrees at 4:3 and wider, so that a wider window shows more
// around the board rather than a stretched one; a narrower window keeps the horizontal field of
// 4:3, so that the board still fits across it.
ScenePerspective scenePerspective(int width, int height);

struct WindowCorner {
    float x = 0, y = 0;
    bool operator==(const WindowCorner&) const = default;
};

// The top left corner, moved as little as possible, that keeps a window of the given size inside
// the display; one larger than the display keeps its top left corner (and title bar) inside.
WindowCorner keptOnScreen(WindowCorner corner, float width, float height, float displayWidth,
                          float displayHeight);
