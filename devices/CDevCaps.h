// The capability database: which picture effects and transitions the chosen player can perform.
// It derives the player's model code from its maker bytes, looks the model up in cw20dev.ini,
// else asks the device, else falls back to what every video camera can do, and answers the
// availability questions of the effect toolbar and of the scene rules.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "devices/EffectCapsQuery.h"
#include "edit/EffectCompatibility.h"

// The six maker bytes a device reports (record bytes 7 to 12).
using MakerBytes = std::array<uint8_t, 6>;

class CDevCaps : public EffectCompatibility {
public:
    // Where the capability words in force came from.
    enum class Source { None, File, Device, Defaults };

    static constexpr int kWordCount = 6;
    static constexpr int kCameraCategory = 7;

    // filePath: the capability file (cw20dev.ini). The device query may be set later, when the
    // link exists; without one a lookup that misses the file goes straight to the defaults.
    explicit CDevCaps(QString filePath, EffectCapsQuery* query = nullptr);

    void SetQuery(EffectCapsQuery* query) { query_ = query; }
    const QString& FilePath() const { return filePath_; }

    // The model code of maker bytes 3 and 4 (record bytes 10 and 11): byte 3 in two decimal
    // digits, then byte 4 rounded down to tens in two digits, read as one number.
    static int32_t ModelCodeFromMaker(uint8_t byte3, uint8_t byte4);
    // No device: model code 0. Otherwise the model code of its maker bytes.
    void SetModelFromDevice(const std::optional<MakerBytes>& maker);
    void SetModelCode(int32_t code) { modelCode_ = code; }
    int32_t ModelCode() const { return modelCode_; }

    // The parts of the device configuration the answers depend on: the player's id (0 = none)
    // and its category code (7 = video camera, 0 = none).
    void SetPlayerId(int id) { playerId_ = id; }
    int PlayerId() const { return playerId_; }
    void SetCategory(int category) { category_ = category; }
    int Category() const { return category_; }

    // Looks the model code up: the file, then the device, then the camera defaults, else nothing
    // available. True when the file supplied all six words or the device answered.
    bool Load();
    Source LastSource() const { return source_; }
    const CapabilityWords& Words() const { return words_; }

    // The device setup closed with player playerId (below 1: none). maker and category are the
    // player's from the device list (none and 0 when it is not listed). With a player the words
    // are reloaded (the result of Load); without one model code, category and player id become
    // 0, the words stay as they are and nothing is available. False without a player.
    bool ApplyPlayerChoice(int playerId, const std::optional<MakerBytes>& maker, int category);

    // True for every multiple of 100 (no transition); otherwise false without a player, when
    // word 0 says nothing is available or when word 0 refuses transition n.
    bool TransitionAllowed(int n) const;
    // True for effect 0; otherwise false without a player, when word 0 says nothing is available
    // or word e refuses effect e.
    bool EffectAllowed(int e) const;
    // Whether effect e and transition n may share a scene seam. Does not look at the player.
    bool Compatible(int e, int n) const override;

private:
    bool ReadFileEntry();
    bool WordRefuses(int word, int bit) const;
    bool NothingAvailable() const { return WordRefuses(0, 0); }

    QString filePath_;
    EffectCapsQuery* query_;
    // Before the first lookup nothing is available: a toolbar built that early shows greyed
    // buttons rather than promising what the player may not do.
    CapabilityWords words_{-1, -1, -1, -1, -1, -1};
    int32_t modelCode_ = 0;
    int playerId_ = 0;
    int category_ = 0;
    Source source_ = Source::None;
};
