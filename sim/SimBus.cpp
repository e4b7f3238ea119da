#include "sim/SimBus.h"

#include <algorithm>
#include <cmath>

namespace tarnsim {

SimBus::SimBus(const Bench& bench, uint32_t seed) {
    for (const DeviceSpec& spec : bench.Devices())
        devices_.push_back(
            std::make_unique<SimDevice>(spec, seed + static_cast<uint32_t>(spec.id)));
    // Wired by the ids the bench gives, so a later change of id keeps the cabling.
    for (auto& device : devices_) {
        if (const int target = device->Spec().editTerminalTargetId)
            device->SetEditTerminalTarget(FindByBenchId(target)->Deck());
        const int input = device->Spec().deck ? device->Spec().deck->inputId : 0;
        inputs_.push_back(input ? FindByBenchId(input) : DefaultInput(*device));
    }
}

void SimBus::AdvanceTo(int64_t nowMicros) {
    // Without a recording under way every deck can jump; otherwise the decks move together in
    // short steps that also end wherever a deck changes mode, so that within a step every tape
    // moves evenly and each recorded frame meets the player frame of its moment.
    while (nowMicros_ < nowMicros) {
        int64_t until = nowMicros;
        if (AnyDeckRecording()) {
            until = std::min(nowMicros, nowMicros_ + kRecordingStepMicros);
            for (auto& device : devices_)
                if (const auto change =
                        device->Deck() ? device->Deck()->Model().ChangeAtMicros() : std::nullopt;
                    change && *change > nowMicros_)
                    until = std::min(until, *change);
        }
        AdvanceStep(until);
        nowMicros_ = until;
    }
}

std::optional<Reply> SimBus::Answer(const WireBytes& request, int64_t nowMicros) {
    SimDevice* device = FindById(RequestId(request));
    if (!device)
        return std::nullopt;
    AdvanceTo(nowMicros);
    return device->Answer(RequestCommand(request), nowMicros,
                          [this](int id) { return FindById(id) == nullptr; });
}

SimDevice* SimBus::FindById(int id) {
    for (auto& device : devices_)
        if (device->Id() == id)
            return device.get();
    return nullptr;
}

SimDevice* SimBus::FindByBenchId(int benchId) {
    for (auto& device : devices_)
        if (device->Spec().id == benchId)
            return device.get();
    return nullptr;
}

// A deck without a named input records the bench's only other deck, when there is exactly one.
SimDevice* SimBus::DefaultInput(const SimDevice& recorder) {
    if (!recorder.Deck())
        return nullptr;
    SimDevice* only = nullptr;
    for (auto& device : devices_) {
        if (device.get() == &recorder || !device->Spec().deck)
            continue;
        if (only)
            return nullptr;
        only = device.get();
    }
    return only;
}

bool SimBus::AnyDeckRecording() const {
    return std::any_of(devices_.begin(), devices_.end(), [](const auto& d) {
        return d->Deck() && (d->Deck()->Model().Recording() ||
                             d->Deck()->Model().PendingMode() == deckmode::kRecord);
    });
}

void SimBus::AdvanceStep(int64_t untilMicros) {
    std::vector<double> before, after;
    std::vector<std::optional<RecordedSpan>> spans;
    for (auto& device : devices_) {
        DeckModel* model = device->Deck() ? &device->Deck()->Model() : nullptr;
        before.push_back(model ? model->ExactPosition() : 0);
        spans.push_back(model ? model->AdvanceTo(untilMicros) : std::nullopt);
        after.push_back(model ? model->ExactPosition() : 0);
    }
    for (size_t r = 0; r < devices_.size(); ++r) {
        if (!spans[r])
            continue;
        const RecordedSpan span = *spans[r];
        const auto input = std::find_if(devices_.begin(), devices_.end(),
                                        [&](const auto& d) { return d.get() == inputs_[r]; });
        const size_t p = static_cast<size_t>(input - devices_.begin());
        // Each whole frame the recorder passes takes in the player's frame of that instant.
        constexpr double kTolerance = DeckModel::kFrameTolerance;
        for (int k = static_cast<int>(std::ceil(span.from - kTolerance)); k < span.to - kTolerance;
             ++k) {
            const double share = (k - span.from) / std::max(span.to - span.from, 1e-9);
            const double playerAt =
                p < devices_.size() ? before[p] + share * (after[p] - before[p]) : 0;
            const auto at = nowMicros_ + static_cast<int64_t>(
                                             share * static_cast<double>(untilMicros - nowMicros_));
            tapes_.Record(devices_[r]->Spec().id, span.take, k, InputAt(r, playerAt, at));
        }
    }
}

ReceivedFrame SimBus::InputAt(size_t recorder, double playerPosition, int64_t atMicros) const {
    ReceivedFrame frame;
    const SimDevice* player = inputs_[recorder];
    if (!player)
        return frame;
    frame.playerId = player->Spec().id;
    const EffectOutput output = player->Output(atMicros);
    frame.effect = output.effect;
    frame.transition = output.transition;
    frame.transitionIn = output.transitionIn;
    const DeckModel& model = player->Deck()->Model();
    frame.sourceFrame = DeckModel::WholeFrame(playerPosition);
    if (player->PowerOn() && model.Mode() == deckmode::kPlay)
        frame.picture = ReceivedFrame::Picture::Play;
    else if (player->PowerOn() && model.Mode() == deckmode::kPause)
        frame.picture = ReceivedFrame::Picture::Still;
    if (frame.picture != ReceivedFrame::Picture::None && output.endState) {
        // The tape runs on under the end picture of the transition that ran out.
        frame.picture = ReceivedFrame::Picture::Faded;
        frame.transition = output.endState;
    }
    return frame;
}

}  // namespace tarnsim
