#include "sim/Simulator.h"

#include <QSaveFile>

namespace tarnsim {

Simulator::Simulator(const Bench& bench, SimOptions options)
    : clock_(options.clock ? options.clock : std::make_shared<SteadySimClock>()),
      bus_(bench, options.seed),
      faults_(options.seed),
      server_([this](const WireBytes& request) { return Respond(request); }, transcript_, *clock_,
              options.pacing) {}

Simulator::~Simulator() {
    Stop();
}

bool Simulator::Start(std::string* error) {
    return server_.Start(error);
}

void Simulator::Stop() {
    server_.Stop();
}

std::string Simulator::SlavePath() const {
    return server_.SlavePath();
}

std::vector<uint8_t> Simulator::Exchange(const WireBytes& request) {
    const std::optional<Outgoing> out = Respond(request);
    if (!out)
        return {};
    transcript_.Add({clock_->NowMicros(), TranscriptEntry::Kind::Reply, out->bytes, out->note});
    return out->bytes;
}

bool Simulator::WriteTranscriptTo(const std::string& path, std::string* error) {
    return transcript_.WriteTo(path, error);
}

// Decides what one request gets: nothing (unanswerable id, absent or vanished device, silence
// fault) or the device's reply, possibly distorted. A silenced or refused request is not carried
// out: the device did not take it in.
std::optional<Outgoing> Simulator::Respond(const WireBytes& request) {
    std::lock_guard lock(mutex_);
    const int64_t now = clock_->NowMicros();
    const int id = RequestId(request);
    TranscriptEntry heard{now, TranscriptEntry::Kind::Request,
                          std::vector<uint8_t>(request.begin(), request.end()), ""};
    std::optional<Outgoing> out;
    SimDevice* device = id >= 1 && id <= 99 ? bus_.FindById(id) : nullptr;
    if (id >= 100 && id <= 127) {
        heard.note = "id 100-127: never answered";
    } else if (!device) {
        heard.note = "no device";
    } else if (faults_.Vanished(id, now)) {
        heard.note = "device vanished";
    } else {
        const FaultKind fault = faults_.Decide();
        if (fault != FaultKind::None)
            heard.note = std::string("fault: ") + FaultName(fault);
        if (fault != FaultKind::Silence) {
            const Reply reply = fault == FaultKind::Refusal ? Reply{status::kRefused, {}}
                                                            : *bus_.Answer(request, now);
            out = Outgoing{faults_.Distort(fault, BuildReplyFrame(static_cast<uint8_t>(id), reply)),
                           device->Spec().answerDelayMs, heard.note};
        }
    }
    transcript_.Add(std::move(heard));
    return out;
}

DeviceState Simulator::StateOf(const SimDevice& device, int64_t nowMicros) const {
    DeviceState s;
    s.id = device.Id();
    s.powerOn = device.PowerOn();
    if (const DeckPart* deck = device.Deck()) {
        const DeckModel& m = deck->Model();
        s.hasDeck = true;
        s.mode = m.Mode();
        s.pendingMode = m.PendingMode();
        s.busy = m.Busy();
        s.position = m.Counter();
        s.counterAvailable = m.CounterAvailable();
    }
    if (const EffectPart* effect = device.Effect()) {
        const EffectOutput output = effect->Output(nowMicros);
        s.hasEffect = true;
        s.effect = output.effect;
        s.selectedTransition = effect->SelectedTransition();
        s.armed = effect->Armed();
        s.runningTransition = output.transition;
        s.runningIn = output.transitionIn;
    }
    return s;
}

std::optional<DeviceState> Simulator::Device(int id) const {
    for (const DeviceState& s : Devices())
        if (s.id == id)
            return s;
    return std::nullopt;
}

std::vector<DeviceState> Simulator::Devices() const {
    std::lock_guard lock(mutex_);
    const int64_t now = clock_->NowMicros();
    bus_.AdvanceTo(now);
    std::vector<DeviceState> states;
    for (const auto& device : bus_.Devices())
        states.push_back(StateOf(*device, now));
    return states;
}

template <typename Change>
bool Simulator::ChangeDeck(int id, Change change) {
    std::lock_guard lock(mutex_);
    bus_.AdvanceTo(clock_->NowMicros());
    SimDevice* device = bus_.FindById(id);
    if (!device)
        return false;
    return change(*device);
}

bool Simulator::SetDeckPosition(int id, int frames) {
    return ChangeDeck(id, [&](SimDevice& d) {
        if (!d.Deck())
            return false;
        d.Deck()->Model().SetPosition(frames);
        return true;
    });
}

bool Simulator::SetDeckMode(int id, int mode) {
    return ChangeDeck(id, [&](SimDevice& d) {
        if (!d.Deck() || !DeckModel::IsMode(mode))
            return false;
        d.Deck()->Model().ForceMode(mode);
        return true;
    });
}

bool Simulator::SetPower(int id, bool on) {
    return ChangeDeck(id, [&](SimDevice& d) {
        d.SetPower(on);
        return true;
    });
}

bool Simulator::SetCounterAvailable(int id, bool available) {
    return ChangeDeck(id, [&](SimDevice& d) {
        if (!d.Deck())
            return false;
        d.Deck()->Model().SetCounterOn(available);
        return true;
    });
}

void Simulator::SetFaultPlan(const FaultPlan& plan) {
    std::lock_guard lock(mutex_);
    faults_ = plan;
    for (const auto& device : bus_.Devices())
        if (DeckPart* deck = device->Deck())
            deck->Model().SetLateCommands(plan.LateCommandsOf(device->Id()));
}

void Simulator::InjectNext(FaultKind kind, int count) {
    std::lock_guard lock(mutex_);
    faults_.InjectNext(kind, count);
}

// The tapes brought up to the clock first, so that a recording under way is in.
template <typename Read>
auto Simulator::ReadTapes(Read read) const {
    std::lock_guard lock(mutex_);
    bus_.AdvanceTo(clock_->NowMicros());
    return read(bus_.Tapes());
}

std::vector<TapeSegment> Simulator::TapeSegments() const {
    return ReadTapes([](const TapeLog& tapes) { return tapes.Segments(); });
}

std::vector<Take> Simulator::Takes() const {
    return ReadTapes([](const TapeLog& tapes) { return tapes.Takes(); });
}

std::vector<OverwrittenSegment> Simulator::OverwrittenSegments() const {
    return ReadTapes([](const TapeLog& tapes) { return tapes.Overwritten(); });
}

std::string Simulator::ReportJson() const {
    return ReadTapes([](const TapeLog& tapes) { return tapes.Json(); });
}

bool Simulator::WriteReport(const std::string& path, std::string* error) const {
    QSaveFile file(QString::fromStdString(path));
    const std::string json = ReportJson();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(json.data(), static_cast<qint64>(json.size())) < 0 || !file.commit()) {
        *error = path + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace tarnsim
