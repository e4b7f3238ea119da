#include "engine/EngineRun.h"

#include "config/CaptionTable.h"
#include "engine/EngineHost.h"
#include "engine/HostBridge.h"
#include "link/Clock.h"

EngineRun::EngineRun(TarnLink& link, TarnVtr& vtr, EffectUnit& effects, Clock& clock,
                     const CaptionTable& captions, HostBridge& bridge)
    : link(link),
      vtr(vtr),
      effects(effects),
      clock(clock),
      captions(captions),
      bridge(bridge),
      decks(link, vtr),
      scheduler(clock) {}

bool EngineRun::Fail(StopCause cause, StopDeck deck) {
    failure = {cause, deck};
    return false;
}

bool EngineRun::Failed(DeckReply reply, StopDeck deck) {
    return Fail(reply.answer == DeckAnswer::Refused ? StopCause::Refused : StopCause::NoAnswer,
                deck);
}

StopDeck EngineRun::AddressedDeck() const {
    const int recorder = decks.Devices().recorderId;
    return recorder != 0 && decks.AddressedId() == recorder ? StopDeck::Recorder : StopDeck::Player;
}

int EngineRun::PauseLeadFrames() const {
    return AddressedDeck() == StopDeck::Recorder ? options.recorderPauseLead
                                                 : options.playerPauseLead;
}

void EngineRun::SelectRow(int i) {
    row = i;
    bridge.Post([i](EngineHost& h) { h.SelectRow(i); });
}

QString EngineRun::Caption(const QString& key) const {
    const QString text = captions.CaptionText(key);
    return text.isEmpty() ? key : text;
}

void EngineRun::NoteAnswer() {
    lastAnswerMs = clock.NowMs();
}
