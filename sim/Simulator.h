// The Tarn bus simulator as one object: a bench of devices served on a pseudo-terminal (or
// exchanged with in-process), with its transcript, fault injection and the recorders' tape
// report. Every call is safe from any thread while the server thread runs.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/Bench.h"
#include "sim/FaultPlan.h"
#include "sim/PtyServer.h"
#include "sim/SimBus.h"
#include "sim/SimClock.h"
#include "sim/Transcript.h"

namespace tarnsim {

struct SimOptions {
    bool pacing = true;               // 9600 baud line timing; off for fast unit tests
    uint32_t seed = 1;                // faults and latency jitter
    std::shared_ptr<SimClock> clock;  // null: real time
};

// A device as tests see it. Deck fields are meaningful when hasDeck.
struct DeviceState {
    int id = 0;
    bool powerOn = false;
    bool hasDeck = false;
    int mode = 0;         // the mode the deck reports now
    int pendingMode = 0;  // the mode it is settling into (= mode when not busy)
    bool busy = false;
    int position = 0;  // counter in frames
    bool counterAvailable = false;
    bool hasEffect = false;  // effect fields are meaningful when set
    int effect = 0;
    int selectedTransition = 0;  // the transition the last setup named, 0 = none
    bool armed = false;
    int runningTransition = 0;  // running in or out now, 0 = none
    bool runningIn = false;
};

class Simulator {
public:
    explicit Simulator(const Bench& bench, SimOptions options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Creates the pseudo-terminal and serves it on a thread until Stop or destruction.
    bool Start(std::string* error);
    void Stop();
    std::string SlavePath() const;

    // One exchange in-process, without the line: the bytes the device sends back (faults
    // applied), empty when it stays silent. Logged in the transcript like line traffic.
    std::vector<uint8_t> Exchange(const WireBytes& request);

    std::vector<TranscriptEntry> TranscriptEntries() const { return transcript_.Entries(); }
    void ClearTranscript() { transcript_.Clear(); }
    bool WriteTranscriptTo(const std::string& path, std::string* error);

    // Devices by their current id (ids change with the change-id command).
    std::optional<DeviceState> Device(int id) const;
    std::vector<DeviceState> Devices() const;
    bool SetDeckPosition(int id, int frames);
    bool SetDeckMode(int id, int mode);  // at once, without latency
    bool SetPower(int id, bool on);
    bool SetCounterAvailable(int id, bool available);

    void SetFaultPlan(const FaultPlan& plan);
    void InjectNext(FaultKind kind, int count = 1);

    // The recorders' tapes as they stand, their takes and what later takes recorded over; as
    // JSON, and written to a file.
    std::vector<TapeSegment> TapeSegments() const;
    std::vector<Take> Takes() const;
    std::vector<OverwrittenSegment> OverwrittenSegments() const;
    std::string ReportJson() const;
    bool WriteReport(const std::string& path, std::string* error) const;

private:
    std::optional<Outgoing> Respond(const WireBytes& request);
    DeviceState StateOf(const SimDevice& device, int64_t nowMicros) const;
    template <typename Change>
    bool ChangeDeck(int id, Change change);
    template <typename Read>
    auto ReadTapes(Read read) const;

    std::shared_ptr<SimClock> clock_;
    mutable std::mutex mutex_;  // guards bus_ and faults_
    // Reading a deck's state brings it up to the clock first, so readers move it too.
    mutable SimBus bus_;
    FaultPlan faults_;
    Transcript transcript_;
    PtyServer server_;
};

}  // namespace tarnsim
