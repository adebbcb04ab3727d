#pragma once

#include <cstdint>

// The user's preferences. The field order and widths mirror the 56-byte settings file, whose
// reserved ranges are carried here so that bytes written by other versions survive a save.
struct Settings {
    int32_t whitePlayer;  // 0 = human, 1 = engine
    int32_t blackPlayer;  // 0 = human, 1 = engine
    uint8_t maxDepth;     // plies
    uint8_t reserved9[7]; // file offsets 9..15
    double timePerMove;   // seconds
    uint8_t useSee;       // 0 or 1
    uint8_t threadCount;
    uint8_t reserved26[6]; // file offsets 26..31
    double reflectivity;   // 0..1
    uint8_t announceGameEnd;
    uint8_t whiteColor[4]; // R, G, B, A
    uint8_t blackColor[4];
    uint8_t reserved49[3]; // file offsets 49..51
    int32_t knightsFace;   // 0 = forward, 1 = sideways
};

// The record as the program starts with it.
Settings defaultSettings();

// The one process-wide record.
// Shared between threads: the README's "Shared state" says who writes it and what guards it.
extern Settings settings;

// True when the settings file lives in the user's configuration directory.
extern bool settingsInHomeDirectory;
