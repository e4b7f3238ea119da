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
        if (key == "vanish") {
            const size_t at = value.find('@');
            double id = 0, ms = 0;
            if (at == std::string::npos || !ParseNumber(value.substr(0, at), &id) ||
                !ParseNumber(value.substr(at + 1), &ms) || id < 1 || id > 99 || ms < 0) {
                *error = "faults: vanish expects ID@MILLISECONDS, got \"" + value + "\"";
                return std::nullopt;
            }
            plan.AddVanish(static_cast<int>(id), static_cast<int64_t>(ms * 1000));
            continue;
        }
        if (key == "away") {
            const size_t at = value.find('@');
            const size_t slash = value.find('/');
            double id = 0, every = 0, gone = 0;
            if (at == std::string::npos || slash == std::string::npos || slash < at ||
                !ParseNumber(value.substr(0, at), &id) ||
                !ParseNumber(value.substr(at + 1, slash - at - 1), &every) ||
                !ParseNumber(value.substr(slash + 1), &gone) || id < 1 || id > 99 || gone <= 0 ||
                every <= gone) {
                *error =
                    "faults: away expects ID@EVERY_MS/FOR_MS with FOR_MS below EVERY_MS, got \"" +
                    value + "\"";
                return std::nullopt;
            }
            plan.AddAbsence(static_cast<int>(id), static_cast<int64_t>(every * 1000),
                            static_cast<int64_t>(gone * 1000));
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
                "refuse; CHANCE 0 to 1), vanish=ID@MS or away=ID@EVERY_MS/FOR_MS, got \"" +
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
