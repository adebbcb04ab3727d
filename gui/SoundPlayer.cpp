#include "SoundPlayer.h"

#include "DataFiles.h"

#include <algorithm>
#include <cstring>

namespace {

// The device stays open this long after a sound has ended, for the next move's sound.
constexpr auto closeAfterSilence = std::chrono::seconds(2);

} // namespace

SoundPlayer::SoundPlayer() {
    for (int i = 0; i < gameSoundCount; ++i) {
        const auto path = findDataFile(gameSoundFiles[i]);
        SDL_AudioSpec format;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (!path || SDL_LoadWAV(path->c_str(), &format, &buffer, &length) == nullptr) {
            continue;
        }
        // The generator writes them all alike; anything else is not ours to convert.
        if (format.format == AUDIO_S16SYS && format.channels == 1) {
            sounds[i].assign(buffer, buffer + length);
            sampleRate = format.freq;
        }
        SDL_FreeWAV(buffer);
    }
    worker = std::thread([this] { run(); });
}

SoundPlayer::~SoundPlayer() {
    stop();
}

void SoundPlayer::play(GameSound sound) {
    if (!soundOn) {
        return;
    }
    std::lock_guard hold(lock);
    requested = sound;
    changed.notify_one();
}

void SoundPlayer::stop() {
    {
        std::lock_guard hold(lock);
        ending = true;
    }
    changed.notify_one();
    if (worker.joinable()) {
        worker.join();
    }
}

void SoundPlayer::run() {
    std::unique_lock hold(lock);
    auto silentFrom = std::chrono::steady_clock::now();
    while (!ending) {
        if (deviceOpen) {
            // Closed after the silence, or woken by the next sound.
            const auto close = silentFrom + closeAfterSilence;
            changed.wait_until(hold, close, [this] { return requested || ending; });
            if (!requested && !ending && std::chrono::steady_clock::now() >= close) {
                SDL_CloseAudio();
                deviceOpen = false;
            }
        } else {
            changed.wait(hold, [this] { return requested || ending; });
        }
        if (!requested || ending) {
            continue;
        }
        const auto& samples = sounds[static_cast<int>(*requested)];
        requested.reset();
        if (samples.empty() || noDevice || (!deviceOpen && !openDevice())) {
            continue;
        }
        SDL_LockAudio();
        playing = &samples;
        playedBytes = 0;
        SDL_UnlockAudio();
        const auto lasts = std::chrono::milliseconds(1000 * samples.size() / 2 / sampleRate);
        silentFrom = std::chrono::steady_clock::now() + lasts;
    }
    if (deviceOpen) {
        SDL_CloseAudio();
        deviceOpen = false;
    }
}

bool SoundPlayer::openDevice() {
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    // About 23 ms: short enough that a sound follows its move at once.
    wanted.samples = 512;
    wanted.callback = fill;
    wanted.userdata = this;
    // Without a place for what was obtained, SDL converts to the device's format itself.
    if (SDL_OpenAudio(&wanted, nullptr) != 0) {
        noDevice = true;
        return false;
    }
    deviceOpen = true;
    SDL_PauseAudio(0);
    return true;
}

void SoundPlayer::fill(void* player, Uint8* stream, int length) {
    auto& self = *static_cast<SoundPlayer*>(player);
    const auto wanted = static_cast<size_t>(length);
    size_t copied = 0;
    if (self.playing != nullptr) {
        copied = std::min(wanted, self.playing->size() - self.playedBytes);
        std::memcpy(stream, self.playing->data() + self.playedBytes, copied);
        self.playedBytes += copied;
        if (self.playedBytes == self.playing->size()) {
            self.playing = nullptr;
        }
    }
    // Signed 16-bit silence is zero.
    std::memset(stream + copied, 0, wanted - copied);
}
