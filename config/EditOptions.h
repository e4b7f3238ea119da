// The editing options that the automatic editing engine reads: the in-point and out-point
// corrections (how many frames early the recorder leaves and re-enters rec-pause), the search
// distance (how far before a target the player's search stops), the pre-roll, and the pause
// leads of player and recorder (how many frames early a playing deck is told to pause), the
// retakes (how often a scene that landed off is recorded again, and how far off it may land) and
// Quick cue (the quick way between scenes). Loaded from cw20.ini once, at the main window's first
// show, and stored when the options dialog is
// confirmed. The engine may read them on the link thread.
#pragma once

#include <atomic>

class SettingsFile;

class EditOptions {
public:
    static constexpr int kNormalSearchDistance = 300;
    static constexpr int kHighSpeedSearchDistance = 900;
    // Defaults fill whole seconds: the dialog's Default shows a pre-roll of this many seconds.
    static constexpr int kDefaultPreRollSeconds = 5;
    static constexpr int kDefaultPauseLead = 22;
    // The corrections' range: what the options dialog offers, and what is ever stored.
    static constexpr int kMaxCorrection = 200;
    // Retakes: how often a scene that landed off is recorded again, and how far off it may land.
    static constexpr int kDefaultRetakeAttempts = 2;
    static constexpr int kMaxRetakeAttempts = 5;
    static constexpr int kDefaultRetakeTolerance = 1;
    static constexpr int kMaxRetakeTolerance = 10;

    // Takes the frame rate from the timecode mode (0: 25 fps, else 30), sets the defaults for it
    // and reads the stored values; a value that is missing or malformed gives its default.
    void LoadOptions(const SettingsFile& settings, int frameMode);

    // Sets the four values and writes them to the settings file, the corrections kept within
    // 0..kMaxCorrection.
    void Store(const SettingsFile& settings, int inFrames, int outFrames, bool highSpeedSearch,
               int preRollFrames);
    // Sets the two pause leads and writes them to the settings file.
    void StorePauseLeads(const SettingsFile& settings, int playerFrames, int recorderFrames);
    // Sets the retake attempts and tolerance, each kept within its range, and writes them.
    void StoreRetakes(const SettingsFile& settings, int attempts, int toleranceFrames);
    // Sets Quick cue and writes it to the settings file.
    void StoreQuickCue(const SettingsFile& settings, bool on);

    // The frame rate fixed at LoadOptions, which splits the pre-roll into seconds and frames.
    bool thirtyFps() const { return thirtyFps_; }
    int fps() const { return thirtyFps_ ? 30 : 25; }
    int defaultIn() const { return defaultIn_; }
    int defaultOut() const { return defaultOut_; }
    int defaultPreRoll() const { return defaultPreRoll_; }

    // Any thread.
    int inCorrection() const { return inCorrection_.load(); }
    int outCorrection() const { return outCorrection_.load(); }
    int searchDistance() const { return searchDistance_.load(); }
    int preRollFrames() const { return preRollFrames_.load(); }
    bool highSpeedSearch() const { return searchDistance() == kHighSpeedSearchDistance; }
    int playerPauseLead() const { return playerPauseLead_.load(); }
    int recorderPauseLead() const { return recorderPauseLead_.load(); }
    int retakeAttempts() const { return retakeAttempts_.load(); }
    int retakeTolerance() const { return retakeTolerance_.load(); }
    bool quickCue() const { return quickCue_.load(); }

private:
    bool thirtyFps_ = false;
    int defaultIn_ = 33;
    int defaultOut_ = 8;
    int defaultPreRoll_ = 125;
    std::atomic<int> inCorrection_{33};
    std::atomic<int> outCorrection_{8};
    std::atomic<int> searchDistance_{kNormalSearchDistance};
    std::atomic<int> preRollFrames_{125};
    std::atomic<int> playerPauseLead_{22};
    std::atomic<int> recorderPauseLead_{22};
    std::atomic<int> retakeAttempts_{kDefaultRetakeAttempts};
    std::atomic<int> retakeTolerance_{kDefaultRetakeTolerance};
    std::atomic<bool> quickCue_{false};
};
