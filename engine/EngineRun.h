// What the parts of the running operation share: the decks and the effect device, the host and
// the clock, the list and options taken when the operation started, where it stands, and why a
// step failed. Written on the host's thread until the operation is published (AutoEngine's
// kind), then by the link thread alone until it ends.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <vector>

#include "edit/Scene.h"
#include "engine/CommandScheduler.h"
#include "engine/EngineDecks.h"
#include "engine/EngineStep.h"
#include "engine/SceneCheckLog.h"
#include "engine/StopReason.h"

class CaptionTable;
class Clock;
class EffectUnit;
class HostBridge;
class TarnLink;
class TarnVtr;

struct EngineRun {
    // A deck that has given no accepted status for this long is taken as gone.
    static constexpr int kSilenceLimitMs = 2000;

    EngineRun(TarnLink& link, TarnVtr& vtr, EffectUnit& effects, Clock& clock,
              const CaptionTable& captions, HostBridge& bridge);

    // A step notes why it fails and returns false.
    bool Fail(StopCause cause, StopDeck deck);
    bool Failed(DeckReply reply, StopDeck deck);
    StopDeck AddressedDeck() const;
    // The pause lead of the deck the engine addresses.
    int PauseLeadFrames() const;
    const Scene& CurrentRow() const { return rows[static_cast<size_t>(row)]; }
    // Makes row i the one worked on, and the host's selected row.
    void SelectRow(int i);
    // A caption, or its key where the caption file has none: the user still learns what happened.
    QString Caption(const QString& key) const;
    // The deck answered just now: silence is counted from here.
    void NoteAnswer();

    TarnLink& link;
    TarnVtr& vtr;
    EffectUnit& effects;
    Clock& clock;
    const CaptionTable& captions;
    HostBridge& bridge;
    EngineDecks decks;
    CommandScheduler scheduler;

    EngineStep step = EngineStep::Cue;
    int32_t target = 0;  // the position the current step works towards
    bool recorderPaused = true;
    // The operation's end could not confirm the recorder's rec-pause: the user must stop it.
    bool recorderMayRecord = false;
    StopReason failure;  // what the step that failed in this tick noted
    AutoOptions options;
    std::vector<Scene> rows;  // the list as it was at the start; windows are disabled meanwhile
    int row = 0;              // the row the engine works on
    uint32_t listMode = 0;    // the list's timecode mode, for the texts shown
    QString title;            // the final message's and the tape-change question's
    QString progressTitle;    // the progress window's: the operation's name
    std::atomic<int64_t> lastAnswerMs{0};

    // The span of the last Auto Rec on the recorder's tape, which Review plays, and what the
    // recorder took in of each scene.
    std::atomic<int32_t> recordingStart{0};
    std::atomic<int32_t> recordingEnd{0};
    bool recordingStartKnown = false;
    SceneCheckLog checks;
};
