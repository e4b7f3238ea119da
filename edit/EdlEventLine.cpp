#include "edit/EdlEventLine.h"

#include <QRegularExpression>
#include <QStringList>

#include "edit/EdlTimecode.h"

namespace {

// number, reel, track, transition, four timecodes; a duration may stand before the timecodes.
constexpr qsizetype kTokensWithoutDuration = 8;
constexpr qsizetype kTokensWithDuration = 9;
constexpr qsizetype kTimecodeTokens = 4;

QRegularExpression Whole(const char* pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(pattern)),
                              QRegularExpression::CaseInsensitiveOption);
}

const QRegularExpression kTrackPattern = Whole("[AVB][AVB0-9/]*");
const QRegularExpression kWipePattern = Whole("W[0-9]{0,3}");
const QRegularExpression kDurationPattern = Whole("[0-9]{1,4}");
const QRegularExpression kEventNumberPattern = Whole("[0-9]{1,6}");
const QRegularExpression kBlanks(QStringLiteral("\\s+"));

bool Matches(const QRegularExpression& pattern, const QString& token) {
    return pattern.match(token).hasMatch();
}

// Tracks are letters A, V and B with digits and '/' (V, A2, AA/V, B ...); any that names the
// picture is video, the rest start with A and are sound only.
std::optional<EdlEventLine::Track> TrackOf(const QString& token) {
    if (!Matches(kTrackPattern, token))
        return std::nullopt;
    const QString upper = token.toUpper();
    if (upper.contains(u'V') || upper == u"B")
        return EdlEventLine::Track::Video;
    if (upper.startsWith(u'A'))
        return EdlEventLine::Track::AudioOnly;
    return std::nullopt;
}

std::optional<EdlEventLine::Transition> TransitionOf(const QString& token) {
    const QString upper = token.toUpper();
    if (upper == u"C")
        return EdlEventLine::Transition::Cut;
    if (upper == u"D")
        return EdlEventLine::Transition::Dissolve;
    if (Matches(kWipePattern, upper))
        return EdlEventLine::Transition::Wipe;
    if (upper == u"K" || upper == u"KB" || upper == u"KO")
        return EdlEventLine::Transition::Key;
    return std::nullopt;
}

EdlRefusal RefusalOf(EdlTimecodeError error) {
    switch (error) {
        case EdlTimecodeError::FramesBeyondRate:
            return EdlRefusal::FramesBeyondRate;
        case EdlTimecodeError::SkippedDropFrameLabel:
            return EdlRefusal::SkippedDropFrameLabel;
        case EdlTimecodeError::NotATimecode:
        case EdlTimecodeError::None:
            break;
    }
    return EdlRefusal::EventLine;
}

// The four timecodes as list texts with their frame counts, or the first reason one fails.
bool ParseTimecodes(const QStringList& tokens, uint32_t mode, QString texts[], int32_t frames[],
                    EdlRefusal* refusal) {
    for (qsizetype i = 0; i < kTimecodeTokens; ++i) {
        EdlTimecodeError error = EdlTimecodeError::None;
        const auto text = ListTimecodeOfEdl(tokens[i], mode, &error);
        if (!text) {
            *refusal = RefusalOf(error);
            return false;
        }
        frames[i] = FramesOfListText(*text, mode);
        texts[i] = *text;
    }
    return true;
}

}  // namespace

std::optional<EdlEventLine> ParseEdlEventLine(const QString& line, uint32_t mode,
                                              EdlRefusal* refusal) {
    *refusal = EdlRefusal::EventLine;
    const QStringList tokens = line.split(kBlanks, Qt::SkipEmptyParts);
    if (tokens.size() != kTokensWithoutDuration && tokens.size() != kTokensWithDuration)
        return std::nullopt;
    const auto track = TrackOf(tokens[2]);
    const auto transition = TransitionOf(tokens[3]);
    const bool durationOk =
        tokens.size() == kTokensWithoutDuration || Matches(kDurationPattern, tokens[4]);
    if (!Matches(kEventNumberPattern, tokens[0]) || !track || !transition || !durationOk)
        return std::nullopt;
    QString texts[kTimecodeTokens];
    int32_t frames[kTimecodeTokens] = {};
    if (!ParseTimecodes(tokens.mid(tokens.size() - kTimecodeTokens), mode, texts, frames, refusal))
        return std::nullopt;
    if (frames[1] < frames[0] || frames[3] < frames[2]) {
        *refusal = EdlRefusal::OutBeforeIn;
        return std::nullopt;
    }
    *refusal = EdlRefusal::None;
    EdlEventLine event;
    event.number = tokens[0];
    event.reel = tokens[1];
    event.track = *track;
    event.transition = *transition;
    event.sourceIn = texts[0];
    event.sourceOut = texts[1];
    event.sourceInFrames = frames[0];
    event.sourceOutFrames = frames[1];
    event.recordInFrames = frames[2];
    return event;
}
