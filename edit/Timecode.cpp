#include "edit/Timecode.h"

namespace {

// Drop-frame counting skips frame numbers 0 and 1 of every minute not divisible by ten.
constexpr int64_t kDropFramesPerHour = 107892;
constexpr int64_t kDropFramesPerTenMinutes = 17982;
constexpr int64_t kDropFramesPerMinute = 1798;

bool IsDropFrame(uint32_t mode) { return mode == Fps30Drop; }

// A two-character field: decimal digits with an optional leading sign, as the counter fields
// were always written.
bool ParseField(const QString& text, int32_t* value) {
    if (text.isEmpty()) return false;
    int sign = 1;
    int pos = 0;
    if (text.size() > 1 && (text[0] == u'+' || text[0] == u'-')) {
        sign = text[0] == u'-' ? -1 : 1;
        pos = 1;
    }
    int32_t result = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c < u'0' || c > u'9') return false;
        result = result * 10 + (c.unicode() - u'0');
    }
    *value = sign * result;
    return true;
}

QString TwoDigits(int32_t value) {
    return value >= 0 && value < 10 ? QStringLiteral("0%1").arg(value) : QString::number(value);
}

}  // namespace

int FramesPerSecond(uint32_t mode) { return mode == Fps25 ? 25 : 30; }

int32_t TimecodeToFrames(const Timecode& tc) {
    int64_t count;
    if (IsDropFrame(tc.mode)) {
        count = kDropFramesPerHour * tc.hours + kDropFramesPerTenMinutes * (tc.minutes / 10) +
                kDropFramesPerMinute * (tc.minutes % 10) + 30LL * tc.seconds + tc.frames;
    } else {
        const int64_t fps = FramesPerSecond(tc.mode);
        count = fps * 3600 * tc.hours + fps * 60 * tc.minutes + fps * tc.seconds + tc.frames;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(count));
}

void FramesToTimecode(int32_t frameCount, Timecode& tc) {
    if (frameCount < 0) {
        tc.hours = tc.minutes = tc.seconds = tc.frames = 0;
        return;
    }
    const int64_t n = frameCount;
    if (!IsDropFrame(tc.mode)) {
        const int64_t fps = FramesPerSecond(tc.mode);
        tc.hours = static_cast<int32_t>(n / (fps * 3600));
        tc.minutes = static_cast<int32_t>((n % (fps * 3600)) / (fps * 60));
        tc.seconds = static_cast<int32_t>((n % (fps * 60)) / fps);
        tc.frames = static_cast<int32_t>(n % fps);
        return;
    }
    const int64_t hours = n / kDropFramesPerHour;
    int64_t r = n - kDropFramesPerHour * hours;
    int64_t minutes = 10 * (r / kDropFramesPerTenMinutes);
    r -= kDropFramesPerTenMinutes * (minutes / 10);
    const bool firstMinute = r / kDropFramesPerMinute == 0;
    minutes += r / kDropFramesPerMinute;
    r -= kDropFramesPerMinute * (minutes % 10);
    // The last two frames of a ten-minute block fall past minute 9's 1798-frame span.
    if (r / kDropFramesPerMinute >= 10) r -= 17980;
    int64_t seconds = r / 30;
    r -= 30 * seconds;
    int64_t frames = r;
    if (seconds == 0 && !firstMinute && r < 2) {
        minutes -= 1;
        seconds = 59;
        frames = r + 28;
    }
    tc.hours = static_cast<int32_t>(hours);
    tc.minutes = static_cast<int32_t>(minutes);
    tc.seconds = static_cast<int32_t>(seconds);
    tc.frames = static_cast<int32_t>(frames);
}

bool TimecodeFromText(Timecode& tc, int32_t* frameCount) {
    int offset;
    if (tc.text.size() == 11) {
        offset = 0;
    } else if (tc.text.size() == 12) {
        offset = 1;
    } else {
        return false;
    }
    int32_t fields[4];
    for (int i = 0; i < 4; ++i) {
        if (!ParseField(tc.text.mid(offset + 3 * i, 2), &fields[i])) return false;
    }
    Timecode parsed = tc;
    parsed.hours = fields[0];
    parsed.minutes = fields[1];
    parsed.seconds = fields[2];
    parsed.frames = fields[3];
    tc = parsed;
    if (frameCount) *frameCount = TimecodeToFrames(tc);
    return true;
}

void TimecodeToText(Timecode& tc) {
    tc.text = TwoDigits(tc.hours) + u':' + TwoDigits(tc.minutes) + u':' + TwoDigits(tc.seconds) +
              u':' + TwoDigits(tc.frames);
    // Drop-frame marks the separator before the frames; with hours of more than two digits
    // that separator moves right with them.
    if (IsDropFrame(tc.mode)) tc.text[tc.text.lastIndexOf(u':')] = u'.';
}

QString FramesToText(int32_t frameCount, Timecode& tc) {
    FramesToTimecode(frameCount, tc);
    TimecodeToText(tc);
    return tc.text;
}

QString FramesToText(int32_t frameCount, uint32_t mode) {
    Timecode tc;
    tc.mode = mode;
    return FramesToText(frameCount, tc);
}

bool IsAtLeast30s(int32_t frameCount, uint32_t mode) {
    return frameCount >= 30 * FramesPerSecond(mode);
}
