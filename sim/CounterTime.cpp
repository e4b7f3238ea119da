#include "sim/CounterTime.h"

#include <cstdio>

namespace tarnsim {

namespace {

// Drop-frame counting skips labels 0 and 1 at the start of every minute except each tenth.
constexpr int kDropFramesPerTenMinutes = 17982;
constexpr int kDropFramesPerMinute = 1798;

}  // namespace

CounterFields CounterTime::FromFrames(int frames, int mode) {
    const int fps = FramesPerSecond(mode);
    int label = frames;
    if (mode == 2) {
        const int tens = frames / kDropFramesPerTenMinutes;
        const int rest = frames % kDropFramesPerTenMinutes;
        label += 18 * tens + (rest >= 2 ? 2 * ((rest - 2) / kDropFramesPerMinute) : 0);
    }
    CounterFields f;
    f.frames = label % fps;
    f.seconds = (label / fps) % 60;
    f.minutes = (label / (fps * 60)) % 60;
    f.hours = label / (fps * 3600);
    return f;
}

std::optional<int> CounterTime::ToFrames(const CounterFields& f, int mode) {
    const int fps = FramesPerSecond(mode);
    if (f.hours < 0 || f.minutes < 0 || f.minutes > 59 || f.seconds < 0 || f.seconds > 59 ||
        f.frames < 0 || f.frames >= fps)
        return std::nullopt;
    const int totalMinutes = f.hours * 60 + f.minutes;
    int frames = ((totalMinutes * 60) + f.seconds) * fps + f.frames;
    if (mode == 2) {
        if (f.seconds == 0 && f.frames < 2 && f.minutes % 10 != 0)
            return std::nullopt;
        frames -= 2 * (totalMinutes - totalMinutes / 10);
    }
    return frames;
}

std::optional<int> CounterTime::ParseText(const std::string& text, int mode) {
    int sign = 1;
    std::string body = text;
    if (!body.empty() && (body[0] == '-' || body[0] == '+')) {
        sign = body[0] == '-' ? -1 : 1;
        body.erase(0, 1);
    }
    CounterFields f;
    char s1 = 0, s2 = 0, s3 = 0;
    int used = 0;
    if (std::sscanf(body.c_str(), "%2d%c%2d%c%2d%c%2d%n", &f.hours, &s1, &f.minutes, &s2,
                    &f.seconds, &s3, &f.frames, &used) != 7 ||
        used != static_cast<int>(body.size()) || body.size() != 11 || s1 != ':' || s2 != ':' ||
        (s3 != ':' && s3 != '.' && s3 != ';'))
        return std::nullopt;
    const auto frames = ToFrames(f, mode);
    if (!frames)
        return std::nullopt;
    return sign * *frames;
}

}  // namespace tarnsim
