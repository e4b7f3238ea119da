#include "sim/FaultPlan.h"

#include <sstream>

namespace tarnsim {

namespace {

constexpr std::pair<const char*, FaultKind> kNames[] = {{"silence", FaultKind::Silence},
                                                        {"short", FaultKind::ShortReply},
                                                        {"badcheck", FaultKind::BadCheck},
                                                        {"noise", FaultKind::Noise},
                                                        {"refuse", FaultKind::Refusal}};

bool ParseNumber(const std::string& text, double* out) {
    std::istringstream in(text);
    in >> *out;
    return !in.fail() && in.eof();
}

// "ID@REST": a device id from 1 to 99 and the text after the '@'.
bool SplitId(const std::string& value, int* id, std::string* rest) {
    const size_t at = value.find('@');
    double number = 0;
    if (at == std::string::npos || !ParseNumber(value.substr(0, at), &number) || number < 1 ||
        number > 99 || number != static_cast<int>(number))
        return false;
    *id = static_cast<int>(number);
    *rest = value.substr(at + 1);
    return true;
}

// "A/B" as two numbers.
bool SplitPair(const std::string& text, double* first, double* second) {
    const size_t slash = text.find('/');
    return slash != std::string::npos && ParseNumber(text.substr(0, slash), first) &&
           ParseNumber(text.substr(slash + 1), second);
}

bool IsWhole(double d) {
    return d == static_cast<double>(static_cast<int64_t>(d));
}

bool ParseVanish(const std::string& value, FaultPlan* plan, std::string* error) {
    int id = 0;
    std::string rest;
    double ms = 0;
    if (!SplitId(value, &id, &rest) || !ParseNumber(rest, &ms) || ms < 0) {
        *error = "faults: vanish expects ID@MILLISECONDS, got \"" + value + "\"";
        return false;
    }
    plan->AddVanish(id, static_cast<int64_t>(ms * 1000));
    return true;
}

bool ParseAway(const std::string& value, FaultPlan* plan, std::string* error) {
    int id = 0;
    std::string rest;
    double every = 0, gone = 0;
    if (!SplitId(value, &id, &rest) || !SplitPair(rest, &every, &gone) || gone <= 0 ||
        every <= gone) {
        *error = "faults: away expects ID@EVERY_MS/FOR_MS with FOR_MS below EVERY_MS, got \"" +
                 value + "\"";
        return false;
    }
    plan->AddAbsence(id, static_cast<int64_t>(every * 1000), static_cast<int64_t>(gone * 1000));
    return true;
}

bool ParseLate(const std::string& value, FaultPlan* plan, std::string* error) {
    int id = 0;
    std::string rest;
    double nth = 0, frames = 0;
    if (!SplitId(value, &id, &rest) || !SplitPair(rest, &nth, &frames) || nth < 1 ||
        nth > 1'000'000 || frames < 1 || frames > FaultPlan::kMaxLateFrames || !IsWhole(nth) ||
        !IsWhole(frames)) {
        *error = "faults: late expects ID@N/FRAMES (N from 1, FRAMES 1 to " +
                 std::to_string(FaultPlan::kMaxLateFrames) + "), got \"" + value + "\"";
        return false;
    }
    plan->AddLateCommand(id, static_cast<int>(nth), static_cast<int>(frames));
    return true;
}

// The items that name a device: vanish, away and late; false for any other key.
bool IsDeviceItem(const std::string& key) {
    return key == "vanish" || key == "away" || key == "late";
}

bool ParseDeviceItem(const std::string& key, const std::string& value, FaultPlan* plan,
                     std::string* error) {
    if (key == "vanish")
        return ParseVanish(value, plan, error);
    return key == "away" ? ParseAway(value, plan, error) : ParseLate(value, plan, error);
}

}  // namespace

const char* FaultName(FaultKind kind) {
    for (const auto& [name, k] : kNames)
        if (k == kind)
            return name;
    return "none";
}

std::optional<FaultPlan> FaultPlan::Parse(const std::string& spec, uint32_t seed,
                                          std::string* error) {
    FaultPlan plan(seed);
    double total = 0;
    std::istringstream items(spec);
    std::string item;
    while (std::getline(items, item, ',')) {
        const size_t eq = item.find('=');
        const std::string key = item.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : item.substr(eq + 1);
        if (IsDeviceItem(key)) {
            if (!ParseDeviceItem(key, value, &plan, error))
                return std::nullopt;
            continue;
        }
        FaultKind kind = FaultKind::None;
        for (const auto& [name, k] : kNames)
            if (key == name)
                kind = k;
        double chance = 0;
        if (kind == FaultKind::None || !ParseNumber(value, &chance) || chance < 0 || chance > 1) {
            *error =
                "faults: expected KIND=CHANCE (KIND silence, short, badcheck, noise or "
                "refuse; CHANCE 0 to 1), vanish=ID@MS, away=ID@EVERY_MS/FOR_MS or "
                "late=ID@N/FRAMES, got \"" +
                item + "\"";
            return std::nullopt;
        }
        plan.SetChance(kind, chance);
        total += chance;
    }
    if (total > 1.0) {
        *error = "faults: the chances add up to more than 1";
        return std::nullopt;
    }
    return plan;
}

std::map<int, int> FaultPlan::LateCommandsOf(int id) const {
    const auto it = late_.find(id);
    return it == late_.end() ? std::map<int, int>{} : it->second;
}

void FaultPlan::SetChance(FaultKind kind, double chance) {
    chance_[static_cast<int>(kind)] = chance;
}

void FaultPlan::InjectNext(FaultKind kind, int count) {
    for (int i = 0; i < count; ++i)
        queued_.push_back(kind);
}

bool FaultPlan::Vanished(int id, int64_t nowMicros) const {
    const auto it = vanishAt_.find(id);
    if (it != vanishAt_.end() && nowMicros >= it->second)
        return true;
    const auto away = absences_.find(id);
    return away != absences_.end() && nowMicros >= away->second.everyMicros &&
           nowMicros % away->second.everyMicros < away->second.forMicros;
}

FaultKind FaultPlan::Decide() {
    if (!queued_.empty()) {
        const FaultKind kind = queued_.front();
        queued_.pop_front();
        return kind;
    }
    // One draw per answer, in millionths: the generator's raw output is the same on every
    // standard library, unlike its distributions.
    const double draw = static_cast<double>(random_() % 1'000'000) / 1e6;
    double edge = 0;
    for (int k = 1; k < kKinds; ++k) {
        edge += chance_[k];
        if (draw < edge)
            return static_cast<FaultKind>(k);
    }
    return FaultKind::None;
}

std::vector<uint8_t> FaultPlan::Distort(FaultKind kind, const WireBytes& reply) {
    std::vector<uint8_t> bytes(reply.begin(), reply.end());
    switch (kind) {
        case FaultKind::ShortReply:
            bytes.resize(1 + random_() % (kFrameLength - 1));
            break;
        case FaultKind::BadCheck:
            bytes[10] = static_cast<uint8_t>((bytes[10] + 1 + random_() % 0x7E) & 0x7F);
            break;
        case FaultKind::Noise: {
            // Line noise ahead of the reply: never the reply mark, so it cannot pass as one.
            std::vector<uint8_t> noise(1 + random_() % 4);
            for (uint8_t& b : noise) {
                b = static_cast<uint8_t>(random_() % 256);
                if (b == 0xFC)
                    b = 0x3C;
            }
            bytes.insert(bytes.begin(), noise.begin(), noise.end());
            break;
        }
        default:
            break;
    }
    return bytes;
}

}  // namespace tarnsim
