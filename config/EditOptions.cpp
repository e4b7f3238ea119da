#include "config/EditOptions.h"

#include <algorithm>

#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"

void EditOptions::LoadOptions(const SettingsFile& settings, int frameMode) {
    namespace keys = settings_keys;
    thirtyFps_ = frameMode != 0;
    const keys::OptionDefaults defaults = keys::DefaultOptions(thirtyFps_ ? 1 : 0);
    defaultIn_ = defaults.inPoint;
    defaultOut_ = defaults.outPoint;
    defaultPreRoll_ = defaults.syncroEdit;

    int32_t value = defaultIn_;
    settings.ReadInteger(keys::kInPoint, &value);
    inCorrection_ = value;
    value = defaultOut_;
    settings.ReadInteger(keys::kOutPoint, &value);
    outCorrection_ = value;
    value = 0;
    settings.ReadInteger(keys::kSearchHigh, &value);
    searchDistance_ = value != 0 ? kHighSpeedSearchDistance : kNormalSearchDistance;
    value = defaultPreRoll_;
    settings.ReadInteger(keys::kSyncroEdit, &value);
    preRollFrames_ = value;
    value = kDefaultPauseLead;
    settings.ReadInteger(keys::kPlayerPauseLead, &value);
    playerPauseLead_ = value;
    value = kDefaultPauseLead;
    settings.ReadInteger(keys::kRecorderPauseLead, &value);
    recorderPauseLead_ = value;
    // A stored count or tolerance beyond its range is taken at the nearest end: a run never
    // retakes without end, nor takes a tolerance that no scene could miss.
    value = kDefaultRetakeAttempts;
    settings.ReadInteger(keys::kRetakeAttempts, &value);
    retakeAttempts_ = std::clamp(value, 0, kMaxRetakeAttempts);
    value = kDefaultRetakeTolerance;
    settings.ReadInteger(keys::kRetakeTolerance, &value);
    retakeTolerance_ = std::clamp(value, 0, kMaxRetakeTolerance);
    value = 0;
    settings.ReadInteger(keys::kQuickCue, &value);
    quickCue_ = value != 0;
}

void EditOptions::StoreRetakes(const SettingsFile& settings, int attempts, int toleranceFrames) {
    namespace keys = settings_keys;
    retakeAttempts_ = std::clamp(attempts, 0, kMaxRetakeAttempts);
    settings.WriteInteger(keys::kRetakeAttempts, retakeAttempts_);
    retakeTolerance_ = std::clamp(toleranceFrames, 0, kMaxRetakeTolerance);
    settings.WriteInteger(keys::kRetakeTolerance, retakeTolerance_);
}

void EditOptions::StoreQuickCue(const SettingsFile& settings, bool on) {
    quickCue_ = on;
    settings.WriteInteger(settings_keys::kQuickCue, on ? 1 : 0);
}

void EditOptions::StorePauseLeads(const SettingsFile& settings, int playerFrames,
                                  int recorderFrames) {
    namespace keys = settings_keys;
    playerPauseLead_ = playerFrames;
    settings.WriteInteger(keys::kPlayerPauseLead, playerFrames);
    recorderPauseLead_ = recorderFrames;
    settings.WriteInteger(keys::kRecorderPauseLead, recorderFrames);
}

void EditOptions::Store(const SettingsFile& settings, int inFrames, int outFrames,
                        bool highSpeedSearch, int preRollFrames) {
    namespace keys = settings_keys;
    inFrames = std::clamp(inFrames, 0, kMaxCorrection);
    outFrames = std::clamp(outFrames, 0, kMaxCorrection);
    inCorrection_ = inFrames;
    settings.WriteInteger(keys::kInPoint, inFrames);
    outCorrection_ = outFrames;
    settings.WriteInteger(keys::kOutPoint, outFrames);
    searchDistance_ = highSpeedSearch ? kHighSpeedSearchDistance : kNormalSearchDistance;
    settings.WriteInteger(keys::kSearchHigh, highSpeedSearch ? 1 : 0);
    preRollFrames_ = preRollFrames;
    settings.WriteInteger(keys::kSyncroEdit, preRollFrames);
}
