#include "sim/Bench.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <set>

#include "sim/CounterTime.h"

namespace tarnsim {

namespace {

// Each reader returns false after writing "where: what" into *error.
struct Context {
    std::string where;
    std::string* error;

    bool Fail(const std::string& what) const {
        *error = where + ": " + what;
        return false;
    }
    Context Sub(const std::string& key) const { return {where + "." + key, error}; }
};

bool OnlyKnownKeys(const QJsonObject& object, const std::set<std::string>& known,
                   const Context& at) {
    for (const QString& key : object.keys())
        if (!known.count(key.toStdString()))
            return at.Fail("unknown key \"" + key.toStdString() + "\"");
    return true;
}

// Range first: converting a double outside int's range is undefined, and JSON numbers can be
// anything.
bool IsWholeNumberIn(double d, double min, double max) {
    return d >= min && d <= max && d == std::trunc(d);
}

bool ReadInt(const QJsonObject& o, const char* key, int min, int max, int* out, const Context& at) {
    if (!o.contains(key))
        return true;
    const QJsonValue v = o.value(key);
    const double d = v.toDouble();
    if (!v.isDouble() || !IsWholeNumberIn(d, min, max))
        return at.Sub(key).Fail("expected a whole number from " + std::to_string(min) + " to " +
                                std::to_string(max));
    *out = static_cast<int>(d);
    return true;
}

bool ReadBool(const QJsonObject& o, const char* key, bool* out, const Context& at) {
    if (!o.contains(key))
        return true;
    if (!o.value(key).isBool())
        return at.Sub(key).Fail("expected true or false");
    *out = o.value(key).toBool();
    return true;
}

// A tape position: a frame count or a counter text "HH:MM:SS:FF" with an optional sign.
bool ReadPosition(const QJsonObject& o, const char* key, int mode, int* out, const Context& at) {
    if (!o.contains(key))
        return true;
    const QJsonValue v = o.value(key);
    if (v.isString()) {
        const auto frames = CounterTime::ParseText(v.toString().toStdString(), mode);
        if (!frames)
            return at.Sub(key).Fail("not a counter text \"HH:MM:SS:FF\" for this mode");
        *out = *frames;
        return true;
    }
    return ReadInt(o, key, -10'000'000, 10'000'000, out, at);
}

bool ReadHexBytes(const QJsonObject& o, const char* key, uint8_t* out, int count,
                  const Context& at) {
    if (!o.contains(key))
        return true;
    const QStringList parts = o.value(key).toString().split(u' ', Qt::SkipEmptyParts);
    if (!o.value(key).isString() || parts.size() != count)
        return at.Sub(key).Fail("expected " + std::to_string(count) + " hexadecimal bytes");
    for (int i = 0; i < count; ++i) {
        bool ok = false;
        const int b = parts[i].toInt(&ok, 16);
        if (!ok || b < 0 || b > 255 || parts[i].size() > 2)
            return at.Sub(key).Fail("not a hexadecimal byte: " + parts[i].toStdString());
        out[i] = static_cast<uint8_t>(b);
    }
    return true;
}

bool ReadDeckMode(const QJsonObject& o, int* out, const Context& at) {
    if (!o.contains("mode"))
        return true;
    static const std::pair<const char*, int> kNames[] = {{"eject", deckmode::kEject},
                                                         {"stop", deckmode::kStop},
                                                         {"pause", deckmode::kPause},
                                                         {"rec_pause", deckmode::kRecPause}};
    const std::string text = o.value("mode").toString().toStdString();
    for (const auto& [name, mode] : kNames)
        if (text == name) {
            *out = mode;
            return true;
        }
    return at.Sub("mode").Fail("expected \"eject\", \"stop\", \"pause\" or \"rec_pause\"");
}

bool ReadBusyMode(const QJsonObject& o, bool* showsNewMode, const Context& at) {
    if (!o.contains("busy_mode"))
        return true;
    const QString text = o.value("busy_mode").toString();
    if (!o.value("busy_mode").isString() || (text != "old" && text != "new"))
        return at.Sub("busy_mode").Fail("expected \"old\" or \"new\"");
    *showsNewMode = text == "new";
    return true;
}

bool ReadLatency(const QJsonObject& deck, LatencySpec* out, const Context& at) {
    if (!deck.contains("latency_frames"))
        return true;
    const Context here = at.Sub("latency_frames");
    if (!deck.value("latency_frames").isObject())
        return here.Fail("expected an object");
    const QJsonObject o = deck.value("latency_frames").toObject();
    constexpr int kMax = 900;  // half a minute: anything longer is a typo, not a deck
    return OnlyKnownKeys(o, {"play", "pause", "record", "rec_pause", "other"}, here) &&
           ReadInt(o, "play", 0, kMax, &out->play, here) &&
           ReadInt(o, "pause", 0, kMax, &out->pause, here) &&
           ReadInt(o, "record", 0, kMax, &out->record, here) &&
           ReadInt(o, "rec_pause", 0, kMax, &out->recPause, here) &&
           ReadInt(o, "other", 0, kMax, &out->other, here);
}

// Wind and search speeds in tape frames per second, and the time each takes to reach its speed.
// A search at least twice normal play, so that the speed query tells it apart from play and slow.
bool ReadSpeeds(const QJsonObject& o, int framesPerSecond, DeckSpec* deck, const Context& at) {
    // Without the keys: fast enough that cueing across a demo tape takes seconds, not minutes.
    deck->windSpeed = 50 * framesPerSecond;
    deck->searchSpeed = 10 * framesPerSecond;
    constexpr int kMaxSpeed = 20'000;  // over 600 times normal play: no tape goes faster
    constexpr int kMaxRampMs = 10'000;
    return ReadInt(o, "wind_speed", 2 * framesPerSecond, kMaxSpeed, &deck->windSpeed, at) &&
           ReadInt(o, "search_speed", 2 * framesPerSecond, kMaxSpeed, &deck->searchSpeed, at) &&
           ReadInt(o, "wind_ramp_ms", 0, kMaxRampMs, &deck->windRampMs, at) &&
           ReadInt(o, "search_ramp_ms", 0, kMaxRampMs, &deck->searchRampMs, at);
}

bool ReadDeck(const QJsonObject& device, int timecodeMode, std::optional<DeckSpec>* out,
              const Context& at) {
    if (!device.contains("deck"))
        return true;
    const Context here = at.Sub("deck");
    if (!device.value("deck").isObject())
        return here.Fail("expected an object");
    const QJsonObject o = device.value("deck").toObject();
    DeckSpec deck;
    deck.tapeEnd = CounterTime::FramesPerSecond(timecodeMode) * 3600;  // a one-hour cassette
    if (!OnlyKnownKeys(o,
                       {"tape_start", "tape_end", "position", "mode", "counter", "latency_frames",
                        "jitter_frames", "input", "busy_mode", "wind_speed", "search_speed",
                        "wind_ramp_ms", "search_ramp_ms"},
                       here) ||
        !ReadPosition(o, "tape_start", timecodeMode, &deck.tapeStart, here) ||
        !ReadPosition(o, "tape_end", timecodeMode, &deck.tapeEnd, here) ||
        !ReadPosition(o, "position", timecodeMode, &deck.position, here) ||
        !ReadDeckMode(o, &deck.mode, here) || !ReadBool(o, "counter", &deck.counter, here) ||
        !ReadLatency(o, &deck.latency, here) ||
        !ReadInt(o, "jitter_frames", 0, 100, &deck.jitterFrames, here) ||
        !ReadInt(o, "input", 1, 99, &deck.inputId, here) ||
        !ReadBusyMode(o, &deck.busyShowsNewMode, here) ||
        !ReadSpeeds(o, CounterTime::FramesPerSecond(timecodeMode), &deck, here))
        return false;
    if (deck.tapeEnd <= deck.tapeStart)
        return here.Fail("tape_end must lie after tape_start");
    if (deck.position < deck.tapeStart || deck.position > deck.tapeEnd)
        return here.Sub("position").Fail("must lie on the tape (tape_start..tape_end)");
    *out = deck;
    return true;
}

bool ReadCapabilityWords(const QJsonObject& o, EffectSpec* effect, const Context& at) {
    if (!o.contains("capabilities"))
        return true;
    const Context here = at.Sub("capabilities");
    const QJsonValue v = o.value("capabilities");
    if (v.isString() && v.toString() == "none") {
        effect->refusesCapabilityQuery = true;
        return true;
    }
    const QJsonArray words = v.toArray();
    if (!v.isArray() || words.size() != 6)
        return here.Fail("expected \"none\" or an array of six capability words");
    for (int i = 0; i < 6; ++i) {
        if (words[i].toString() == "none") {  // the same as -1: the device reports "none"
            effect->capabilityWords[i] = -1;
            continue;
        }
        const double d = words[i].toDouble();
        // The reply carries a word in five nibbles, and an odd last nibble means "none":
        // only -1 and even 20-bit values can be told.
        if (!words[i].isDouble() || !IsWholeNumberIn(d, -1, 0xFFFFE) ||
            (d != -1 && static_cast<int>(d) % 2 != 0))
            return here.Fail("word " + std::to_string(i) +
                             ": expected \"none\", -1 or an even number from 0 to 1048574");
        effect->capabilityWords[i] = static_cast<int>(d);
    }
    return true;
}

bool ReadEffect(const QJsonObject& device, std::optional<EffectSpec>* out, const Context& at) {
    if (!device.contains("effect"))
        return true;
    const Context here = at.Sub("effect");
    if (!device.value("effect").isObject())
        return here.Fail("expected an object");
    const QJsonObject o = device.value("effect").toObject();
    EffectSpec effect;
    if (!OnlyKnownKeys(o, {"capabilities", "progress_polls", "transition_frames"}, here) ||
        !ReadCapabilityWords(o, &effect, here) ||
        !ReadInt(o, "progress_polls", 0, 1000, &effect.progressPolls, here) ||
        !ReadInt(o, "transition_frames", 1, 900, &effect.transitionFrames, here))
        return false;
    *out = effect;
    return true;
}

bool ReadGroups(const QJsonObject& o, std::array<uint8_t, 5>* out, const Context& at) {
    if (!o.contains("groups"))
        return true;
    const QJsonArray groups = o.value("groups").toArray();
    if (!o.value("groups").isArray() || groups.size() > 5)
        return at.Sub("groups").Fail("expected an array of up to five command group numbers");
    for (int i = 0; i < groups.size(); ++i) {
        const double d = groups[i].toDouble();
        if (!groups[i].isDouble() || !IsWholeNumberIn(d, 1, 255))
            return at.Sub("groups").Fail("expected numbers from 1 to 255");
        (*out)[i] = static_cast<uint8_t>(d);
    }
    return true;
}

bool ReadName(const QJsonObject& o, std::string* out, const Context& at) {
    if (!o.contains("name"))
        return true;
    const std::string name = o.value("name").toString().toStdString();
    const bool printable =
        std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (!o.value("name").isString() || name.size() > 12 || !printable)
        return at.Sub("name").Fail("expected up to 12 printable ASCII characters");
    *out = name;
    return true;
}

bool ReadDevice(const QJsonObject& o, DeviceSpec* d, const Context& at) {
    if (!o.contains("id"))
        return at.Fail("missing \"id\"");
    if (!o.contains("category"))
        return at.Fail("missing \"category\"");
    return OnlyKnownKeys(o,
                         {"id", "category", "groups", "maker", "name", "power", "power_on_ms",
                          "timecode_mode", "answer_delay_ms", "deck", "effect", "edit_terminal"},
                         at) &&
           ReadInt(o, "id", 1, 99, &d->id, at) &&
           ReadInt(o, "category", 0, 255, &d->category, at) && ReadGroups(o, &d->groups, at) &&
           ReadHexBytes(o, "maker", d->maker.data(), 6, at) && ReadName(o, &d->name, at) &&
           ReadBool(o, "power", &d->powerOn, at) &&
           ReadInt(o, "power_on_ms", 0, 60'000, &d->powerOnMs, at) &&
           ReadInt(o, "timecode_mode", 0, 2, &d->timecodeMode, at) &&
           ReadInt(o, "answer_delay_ms", 0, 10'000, &d->answerDelayMs, at) &&
           ReadDeck(o, d->timecodeMode, &d->deck, at) && ReadEffect(o, &d->effect, at) &&
           ReadInt(o, "edit_terminal", 1, 99, &d->editTerminalTargetId, at);
}

// Cross-device rules: unique ids, references to existing decks, groups that match the parts.
bool CheckBench(const std::vector<DeviceSpec>& devices, std::string* error) {
    auto findDeck = [&](int id) {
        return std::any_of(devices.begin(), devices.end(),
                           [&](const DeviceSpec& d) { return d.id == id && d.deck; });
    };
    for (size_t i = 0; i < devices.size(); ++i) {
        const DeviceSpec& d = devices[i];
        const Context at{"devices[" + std::to_string(i) + "]", error};
        for (size_t j = 0; j < i; ++j)
            if (devices[j].id == d.id)
                return at.Fail("id " + std::to_string(d.id) + " is used twice");
        if (d.deck.has_value() != d.HasGroup(0x08))
            return at.Fail("a \"deck\" needs command group 8 in \"groups\", and group 8 a deck");
        if (d.effect.has_value() != d.HasGroup(0x18))
            return at.Fail(
                "an \"effect\" needs command group 24 in \"groups\", and group 24 an effect");
        if (d.editTerminalTargetId &&
            (d.editTerminalTargetId == d.id || !findDeck(d.editTerminalTargetId)))
            return at.Sub("edit_terminal").Fail("must name another device that has a deck");
        if (d.deck && d.deck->inputId && (d.deck->inputId == d.id || !findDeck(d.deck->inputId)))
            return at.Sub("deck.input").Fail("must name another device that has a deck");
    }
    return true;
}

}  // namespace

bool DeviceSpec::HasGroup(uint8_t group) const {
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

std::optional<Bench> Bench::FromFile(const std::string& path, std::string* error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    auto bench = FromJson(file.readAll().toStdString(), error);
    if (!bench)
        *error = path + ": " + *error;
    return bench;
}

std::optional<Bench> Bench::FromJson(const std::string& text, std::string* error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &parseError);
    if (doc.isNull()) {
        *error = "not JSON (" + parseError.errorString().toStdString() + " at offset " +
                 std::to_string(parseError.offset) + ")";
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    const Context top{"bench", error};
    if (!doc.isObject() || !root.value("devices").isArray()) {
        top.Fail("expected an object with a \"devices\" array");
        return std::nullopt;
    }
    if (!OnlyKnownKeys(root, {"devices"}, top))
        return std::nullopt;
    Bench bench;
    const QJsonArray devices = root.value("devices").toArray();
    for (int i = 0; i < devices.size(); ++i) {
        const Context at{"devices[" + std::to_string(i) + "]", error};
        DeviceSpec device;
        if (!devices[i].isObject()) {
            at.Fail("expected an object");
            return std::nullopt;
        }
        if (!ReadDevice(devices[i].toObject(), &device, at))
            return std::nullopt;
        bench.devices_.push_back(device);
    }
    if (!CheckBench(bench.devices_, error))
        return std::nullopt;
    return bench;
}

void Bench::OverrideAnswerDelay(int milliseconds) {
    for (DeviceSpec& d : devices_)
        d.answerDelayMs = milliseconds;
}

}  // namespace tarnsim
