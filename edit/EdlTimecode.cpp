#include "edit/EdlTimecode.h"

#include <limits>

#include "edit/Timecode.h"

namespace {

constexpr qsizetype kTimecodeLength = 11;
constexpr qsizetype kFrameSeparator = 8;
constexpr int kMaxMinutesOrSeconds = 59;

int TwoDigitValue(const QString& token, qsizetype at) {
    return token[at].digitValue() * 10 + token[at + 1].digitValue();
}

// Drop-frame counting leaves out frame numbers 00 and 01 at the start of every minute but the
// tenth ones.
bool IsSkippedDropFrameLabel(int minutes, int seconds, int frames) {
    return seconds == 0 && frames < 2 && minutes % 10 != 0;
}

bool IsDigitPair(const QString& token, qsizetype at) {
    return token[at] >= u'0' && token[at] <= u'9' && token[at + 1] >= u'0' && token[at + 1] <= u'9';
}

}  // namespace

QString EdlTimecodeText(const QString& listText, uint32_t mode) {
    QString text = listText;
    if (text.size() == kTimecodeLength)
        text[kFrameSeparator] = mode == Fps30Drop ? u';' : u':';
    return text;
}

std::optional<QString> EdlTimecodeOfFrames(int64_t frames, uint32_t mode) {
    if (frames < 0 || frames > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    const QString text = FramesToText(static_cast<int32_t>(frames), mode);
    if (text.size() != kTimecodeLength)
        return std::nullopt;
    return EdlTimecodeText(text, mode);
}

std::optional<QString> ListTimecodeOfEdl(const QString& token, uint32_t mode,
                                         EdlTimecodeError* error) {
    *error = EdlTimecodeError::NotATimecode;
    if (token.size() != kTimecodeLength || token[2] != u':' || token[5] != u':')
        return std::nullopt;
    const QChar frameSeparator = token[kFrameSeparator];
    if (frameSeparator != u':' && frameSeparator != u';' && frameSeparator != u'.')
        return std::nullopt;
    for (qsizetype at : {0, 3, 6, 9}) {
        if (!IsDigitPair(token, at))
            return std::nullopt;
    }
    if (TwoDigitValue(token, 3) > kMaxMinutesOrSeconds ||
        TwoDigitValue(token, 6) > kMaxMinutesOrSeconds) {
        return std::nullopt;
    }
    if (TwoDigitValue(token, 9) >= FramesPerSecond(mode)) {
        *error = EdlTimecodeError::FramesBeyondRate;
        return std::nullopt;
    }
    const bool dropFrame = mode == Fps30Drop || frameSeparator != u':';
    if (dropFrame && IsSkippedDropFrameLabel(TwoDigitValue(token, 3), TwoDigitValue(token, 6),
                                             TwoDigitValue(token, 9))) {
        // Counted anyway it would alias the frame before it, and a scene would end or start
        // one frame off where the editor meant.
        *error = EdlTimecodeError::SkippedDropFrameLabel;
        return std::nullopt;
    }
    *error = EdlTimecodeError::None;
    QString text = token;
    text[kFrameSeparator] = u':';
    return text;
}

int32_t FramesOfListText(const QString& listText, uint32_t mode) {
    Timecode tc;
    tc.text = listText;
    tc.mode = mode;
    int32_t frames = 0;
    TimecodeFromText(tc, &frames);
    return frames;
}
