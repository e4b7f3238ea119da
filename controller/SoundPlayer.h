// The controller's short sounds (cover, dial press and release, preview beep), played through the
// desktop's event-sound library. Playing never blocks and is silent where there is no audio
// device. Safe to call from any thread.
#pragma once

#include <QString>
#include <mutex>

struct ca_context;
class ProgramFolder;

enum class Sound {
    Cover = 101,        // a cover opened or closed
    DialPress = 102,    // the dial pushed in
    DialRelease = 103,  // the dial let go
    PreviewBeep = 104,  // Preview passed a corrected in or out point
};

class SoundPlayer {
public:
    explicit SoundPlayer(const ProgramFolder& folder);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void Play(Sound sound);
    // How many sounds were asked for (tests check that an action sounds).
    int PlayedCount() const;

private:
    bool EnsureContext();

    const ProgramFolder& folder_;
    mutable std::mutex mutex_;
    ca_context* context_ = nullptr;
    bool contextFailed_ = false;
    int played_ = 0;
};
