#include "Settings.h"

Settings settings = defaultSettings();
bool settingsInHomeDirectory = false;

Settings defaultSettings() {
    Settings s{};
    s.whitePlayer = 0;
    s.blackPlayer = 1;
    s.maxDepth = 100;
    s.timePerMove = 15.0;
    s.useSee = 1;
    s.threadCount = 4;
    s.reflectivity = 0.1;
    s.announceGameEnd = 1;
    s.whiteColor[0] = 192;
    s.whiteColor[1] = 192;
    s.whiteColor[2] = 192;
    s.whiteColor[3] = 255;
    s.blackColor[0] = 64;
    s.blackColor[1] = 32;
    s.blackColor[2] = 16;
    s.blackColor[3] = 255;
    s.knightsFace = 0;
    return s;
}
