#pragma once

#include "GameSounds.h"

#include <SDL.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Plays the window's sounds through SDL's audio. The device is opened for a sound and closed
// again after a moment of silence, so that an idle window keeps no audio thread awake; without
// a device, or without the sound files, the window stays silent. Every SDL audio call happens on
// the player's own thread: a move never waits for the sound system.
class SoundPlayer {
public:
    // Loads the sounds from the data files; a file missing or unreadable leaves its sound out.
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Any thread; nothing while sound is off or after stop.
    void play(GameSound sound);
    void setOn(bool on) { soundOn = on; }
    bool isOn() const { return soundOn; }
    // Closes the device and ends the player's thread, before SDL shuts down.
    void stop();

private:
    void run();
    // SDL's audio callback, on SDL's audio thread with the audio lock held.
    static void fill(void* player, Uint8* stream, int length);
    bool openDevice();

    std::atomic<bool> soundOn{true};
    // The 16-bit mono samples of each sound at their file's rate; empty when it is missing.
    std::array<std::vector<uint8_t>, gameSoundCount> sounds;
    int sampleRate = 22050;

    // lock: the requests to the player's thread.
    std::mutex lock;
    std::condition_variable changed;
    std::optional<GameSound> requested;
    bool ending = false;

    // The player's thread only.
    bool deviceOpen = false;
    // A device that cannot be opened is not tried again: the window stays silent.
    bool noDevice = false;

    // SDL's audio lock: what the callback plays, set by the player's thread.
    const std::vector<uint8_t>* playing = nullptr;
    size_t playedBytes = 0;

    // Last: it runs once everything above stands.
    std::thread worker;
};
