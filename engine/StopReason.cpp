#include "engine/StopReason.h"

#include "config/CaptionTable.h"

namespace {

struct Name {
    const char* code;
    const char* captionKey;
};

Name CauseName(StopCause cause) {
    switch (cause) {
        case StopCause::None:
            return {"none", ""};
        case StopCause::UserStop:
            return {"user_stop", "WHY_USER"};
        case StopCause::Signal:
            return {"signal", "WHY_SIGNAL"};
        case StopCause::NoAnswer:
            return {"no_answer", "WHY_NOANSWER"};
        case StopCause::Refused:
            return {"refused", "WHY_REFUSED"};
        case StopCause::TapeEnd:
            return {"tape_end", "WHY_TAPEEND"};
        case StopCause::CannotPlace:
            return {"cannot_place_recorder", "WHY_PLACE"};
        case StopCause::PortLost:
            return {"port_lost", "WHY_PORT"};
        case StopCause::NothingToRecord:
            return {"nothing_to_record", "WHY_NOSCENE"};
        case StopCause::GuardTookOver:
            return {"guard_took_over", "WHY_GUARD"};
    }
    return {"none", ""};
}

Name DeckName(StopDeck deck) {
    switch (deck) {
        case StopDeck::None:
            return {"", ""};
        case StopDeck::Player:
            return {"player", "WHY_PLAYER"};
        case StopDeck::Recorder:
            return {"recorder", "WHY_RECORDER"};
    }
    return {"", ""};
}

Name StepName(StopStep step) {
    switch (step) {
        case StopStep::None:
            return {"", ""};
        case StopStep::Start:
            return {"start", "WHY_START"};
        case StopStep::Cue:
            return {"cue", "WHY_CUE"};
        case StopStep::Search:
            return {"search", "WHY_SEARCH"};
        case StopStep::PlayToScene:
            return {"play_to_scene", "WHY_TOSCENE"};
        case StopStep::PauseAt:
            return {"pause_at_target", "WHY_PAUSEAT"};
        case StopStep::InPoint:
            return {"in_point", "WHY_INPOINT"};
        case StopStep::Transition:
            return {"transition", "WHY_TRANSITION"};
        case StopStep::OutPoint:
            return {"out_point", "WHY_OUTPOINT"};
        case StopStep::RunOn:
            return {"run_on", "WHY_RUNON"};
        case StopStep::TapeChange:
            return {"tape_change", "WHY_TAPECHANGE"};
        case StopStep::PlaceRecorder:
            return {"place_recorder", "WHY_PLACE_STEP"};
    }
    return {"", ""};
}

QString CaptionOf(const CaptionTable& captions, const char* key) {
    if (*key == '\0')
        return {};
    // Without a caption file the key itself still tells what happened.
    const QString text = captions.CaptionText(QLatin1String(key));
    return text.isEmpty() ? QLatin1String(key) : text;
}

}  // namespace

QString StopReason::Text(const CaptionTable& captions) const {
    if (cause == StopCause::None)
        return {};
    // A stop is the same whatever step it came in; a failure is told by its deck and step.
    const char* stepKey = IsStop() ? "" : StepName(step).captionKey;
    QStringList where;
    for (const char* key : {DeckName(deck).captionKey, stepKey}) {
        if (*key != '\0')
            where << CaptionOf(captions, key);
    }
    const QString what = CaptionOf(captions, CauseName(cause).captionKey);
    if (where.isEmpty())
        return CaptionOf(captions, "WHY_FMT1").arg(what);
    return CaptionOf(captions, "WHY_FMT2").arg(where.join(QStringLiteral(", ")), what);
}

QString StopReason::CauseCode() const {
    return QLatin1String(CauseName(cause).code);
}

QString StopReason::DeckCode() const {
    return QLatin1String(DeckName(deck).code);
}

QString StopReason::StepCode() const {
    return QLatin1String(StepName(step).code);
}
