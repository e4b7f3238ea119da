#include "devices/CDevCaps.h"

#include <limits>

#include "config/ProfileFile.h"
#include "edit/IsNumber.h"

namespace {

// What every video camera can do when neither the file nor the device says otherwise: all
// transitions, but effects 1 and 4 do not combine with transitions 102 and 117.
constexpr CapabilityWords kCameraDefaults{0, 0x20004, 0, 0, 0x20004, 0};
constexpr CapabilityWords kNothingAvailable{-1, -1, -1, -1, -1, -1};

// A capability word as the file writes it: a decimal number, signed or not. Words are bit sets,
// so 4294967295 and -1 are the same word; anything beyond 32 bits is not a word at all.
std::optional<int32_t> ParseWord(const QString& text) {
    if (!IsNumber(text))
        return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

bool IsNoTransition(int n) {
    return n % 100 == 0;
}

}  // namespace

CDevCaps::CDevCaps(QString filePath, EffectCapsQuery* query)
    : filePath_(std::move(filePath)), query_(query) {}

int32_t CDevCaps::ModelCodeFromMaker(uint8_t byte3, uint8_t byte4) {
    // Built as text and read back, so a byte of 100 or more simply contributes three digits.
    const QString text = QStringLiteral("%1%2")
                             .arg(byte3, 2, 10, QLatin1Char('0'))
                             .arg(byte4 / 10 * 10, 2, 10, QLatin1Char('0'));
    return text.toInt();
}

void CDevCaps::SetModelFromDevice(const std::optional<MakerBytes>& maker) {
    modelCode_ = maker ? ModelCodeFromMaker((*maker)[3], (*maker)[4]) : 0;
}

bool CDevCaps::Load() {
    if (ReadFileEntry()) {
        source_ = Source::File;
        return true;
    }
    words_ = kNothingAvailable;
    CapabilityWords answered{};
    if (query_ && query_->QueryEffectCaps(playerId_, answered)) {
        words_ = answered;
        source_ = Source::Device;
        return true;
    }
    if (category_ == kCameraCategory) {
        words_ = kCameraDefaults;
        source_ = Source::Defaults;
        return false;
    }
    source_ = Source::None;
    return false;
}

bool CDevCaps::ReadFileEntry() {
    // Every lookup reads the file afresh and starts from DATA00, whatever an earlier lookup
    // left behind: an entry the user has added since must be found.
    const ProfileFile file(filePath_);
    const QString section = QStringLiteral("%1").arg(modelCode_, 4, 10, QLatin1Char('0'));
    for (int i = 0; i < kWordCount; ++i) {
        // Once word 0 says "nothing at all" the effect words are meaningless: stop there.
        if (i > 0 && words_[0] == -1)
            return false;
        const QString key = QStringLiteral("DATA%1").arg(i, 2, 10, QLatin1Char('0'));
        const std::optional<QString> text = file.Read(section, key);
        if (!text || text->isEmpty())
            return false;
        const std::optional<int32_t> word = ParseWord(*text);
        if (!word)
            return false;
        words_[i] = *word;
    }
    return true;
}

bool CDevCaps::ApplyPlayerChoice(int playerId, const std::optional<MakerBytes>& maker,
                                 int category) {
    if (playerId < 1) {
        playerId_ = 0;
        category_ = 0;
        modelCode_ = 0;
        return false;
    }
    playerId_ = playerId;
    SetModelFromDevice(maker);
    category_ = category;
    return Load();
}

bool CDevCaps::WordRefuses(int word, int bit) const {
    // Bit numbers wrap at 32, as a shift of a 32-bit word does.
    const uint32_t bits = static_cast<uint32_t>(words_[static_cast<size_t>(word)]);
    return ((bits >> (static_cast<unsigned>(bit) & 31u)) & 1u) != 0;
}

bool CDevCaps::TransitionAllowed(int n) const {
    if (IsNoTransition(n))
        return true;
    return playerId_ > 0 && !NothingAvailable() && !WordRefuses(0, n - 100);
}

bool CDevCaps::EffectAllowed(int e) const {
    if (e == 0)
        return true;
    // Only effects 1 to 5 have a word; any other code is nothing the device can do.
    if (e < 1 || e >= kWordCount)
        return false;
    return playerId_ > 0 && !NothingAvailable() && !WordRefuses(e, 0);
}

bool CDevCaps::Compatible(int e, int n) const {
    if (e == 0 || n == 0)
        return true;
    if (e < 1 || e >= kWordCount)
        return false;
    return !NothingAvailable() && !WordRefuses(0, n - 100) && !WordRefuses(e, n - 100);
}
