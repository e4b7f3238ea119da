// Which replies go wrong, and how: silence, a short reply, a bad check byte, noise before the
// reply, a refusal, a device that vanishes from the bus after a given time, or one that goes
// away for a while again and again (a loose cable, a camcorder switched off and on). Every choice
// comes from one seeded generator, so the same seed and the same requests give the same faults.
// Apart from the replies, a deck can be told to carry out one chosen record or pause command
// late, as a deck that once starts or stops slowly does.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sim/WireFrame.h"

namespace tarnsim {

enum class FaultKind { None, Silence, ShortReply, BadCheck, Noise, Refusal };

const char* FaultName(FaultKind kind);

class FaultPlan {
public:
    explicit FaultPlan(uint32_t seed = 1) : random_(seed) {}

    static constexpr int kMaxLateFrames = 900;

    // "silence=0.1,short=0.05,badcheck=0.05,noise=0.05,refuse=0.02,vanish=2@5000,away=1@60000/3000,
    // late=2@7/4": chances per answered request, device 2 gone for good 5000 ms after the start,
    // device 1 gone for 3000 ms every 60000 ms (first at 60000), device 2's seventh record or
    // pause command 4 frames late. Nothing on a malformed spec.
    static std::optional<FaultPlan> Parse(const std::string& spec, uint32_t seed,
                                          std::string* error);

    void SetChance(FaultKind kind, double chance);
    void AddVanish(int id, int64_t afterMicros) { vanishAt_[id] = afterMicros; }
    // Device id is gone for forMicros at every multiple of everyMicros (forMicros < everyMicros).
    void AddAbsence(int id, int64_t everyMicros, int64_t forMicros) {
        absences_[id] = {everyMicros, forMicros};
    }
    // The `nth` record, rec-pause or pause command (counted together, from 1) that device id's
    // deck carries out takes effect `frames` frames later than its latency says.
    void AddLateCommand(int id, int nth, int frames) { late_[id][nth] = frames; }
    // Device id's late commands: extra frames by the command's number.
    std::map<int, int> LateCommandsOf(int id) const;
    // The next `count` answers get `kind`, before any chance is drawn.
    void InjectNext(FaultKind kind, int count);

    bool Vanished(int id, int64_t nowMicros) const;
    // The fault for the next answer of a present device.
    FaultKind Decide();
    // The bytes that go on the line instead of `reply`.
    std::vector<uint8_t> Distort(FaultKind kind, const WireBytes& reply);

private:
    static constexpr int kKinds = 6;
    std::mt19937 random_;
    std::array<double, kKinds> chance_{};
    std::deque<FaultKind> queued_;
    std::map<int, int64_t> vanishAt_;
    struct Absence {
        int64_t everyMicros;
        int64_t forMicros;
    };
    std::map<int, Absence> absences_;
    std::map<int, std::map<int, int>> late_;  // id -> command number -> extra frames
};

}  // namespace tarnsim
