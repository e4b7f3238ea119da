// The editing engine on decks simulated in virtual time: the program's deck object, effect unit
// and engine run on a VirtualBench with a test host, so an operation runs through every poll and
// command it takes on real decks, but as fast as the machine computes it and the same way each
// time. Where the decks stand at the end, and what the recorder's tape holds, are exact.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LatencyBench.h"
#include "TestHost.h"
#include "VirtualBench.h"
#include "config/CaptionTable.h"
#include "engine/AutoEngine.h"
#include "engine/EffectUnit.h"
#include "link/TarnVtr.h"

// The options a calibration of those latencies gives.
AutoOptions OptionsFor(const BenchLatencies& latencies);

class VirtualEngine {
public:
    // The player is id 1, the recorder id 2; false (with the reason) for a malformed bench.
    bool Serve(const std::string& benchJson, TCMode mode, std::string* error, uint32_t seed = 1);
    ~VirtualEngine();

    // Row 0 (the first tape) followed by rows; the current row becomes `current`.
    void SetScenes(const std::vector<Scene>& rows, int current = 1);
    // The operation from start to finished(): its result, or nothing when it never ended.
    std::optional<AutoResult> Run(AutoKind kind);
    // An Auto Rec resumed from point, as Run; a refused resume gives AutoResult::Failed at once.
    std::optional<AutoResult> RunResume(const ResumePoint& point);
    tarnsim::DeviceState Deck(int id) const { return *bench.sim->Device(id); }
    // How many requests to id began with these command bytes; with none given, all of them.
    int Sent(int id, std::initializer_list<uint8_t> command = {}) const;
    // The host's log, for a failure's message.
    std::string Log() const { return host->Log().join('\n').toStdString(); }

    VirtualBench bench;
    CaptionTable captions;
    std::unique_ptr<TarnVtr> vtr;
    std::unique_ptr<EffectUnit> effects;
    std::unique_ptr<TestHost> host;
    std::unique_ptr<AutoEngine> engine;

private:
    std::optional<AutoResult> RunStarted(const std::function<bool()>& start);
};
