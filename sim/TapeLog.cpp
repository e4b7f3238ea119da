#include "sim/TapeLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace tarnsim {

namespace {

bool Continues(const TapeSegment& s, int recFrame, const ReceivedFrame& f) {
    if (recFrame != s.recTo || !f.SameState(s.first))
        return false;
    switch (f.picture) {
        case ReceivedFrame::Picture::Play:
            return f.sourceFrame == s.srcTo;
        case ReceivedFrame::Picture::Still:
            return f.sourceFrame == s.first.sourceFrame;
        case ReceivedFrame::Picture::Faded:
            // The tape runs on (or stands) under the end picture; a jump is another scene.
            return f.sourceFrame == s.srcTo || f.sourceFrame == s.srcTo - 1;
        default:
            return true;
    }
}

const char* PictureName(ReceivedFrame::Picture p) {
    switch (p) {
        case ReceivedFrame::Picture::Play:
            return "play";
        case ReceivedFrame::Picture::Still:
            return "still";
        case ReceivedFrame::Picture::Faded:
            return "faded";
        default:
            return "none";
    }
}

// Appends the segments of one recorder's frames; `contentOf` gives a map value's picture.
template <typename Frames, typename ContentOf>
void AppendSegments(int recorder, const Frames& frames, ContentOf contentOf,
                    std::vector<TapeSegment>* segments) {
    const size_t first = segments->size();
    for (const auto& [recFrame, value] : frames) {
        const ReceivedFrame& f = contentOf(value);
        if (segments->size() > first && Continues(segments->back(), recFrame, f)) {
            segments->back().recTo = recFrame + 1;
            segments->back().srcTo = f.sourceFrame + 1;
            continue;
        }
        segments->push_back({recorder, recFrame, recFrame + 1, f, f.sourceFrame + 1});
    }
}

QJsonObject SegmentJson(const TapeSegment& s) {
    QJsonObject o{{"recorder", s.recorder},
                  {"rec_from", s.recFrom},
                  {"rec_to", s.recTo},
                  {"player", s.first.playerId},
                  {"src_from", s.first.sourceFrame},
                  {"src_to", s.srcTo},
                  {"picture", PictureName(s.first.picture)},
                  {"effect", s.first.effect},
                  {"transition", s.first.transition}};
    if (s.first.transition && s.first.picture != ReceivedFrame::Picture::Faded)
        o["side"] = s.first.transitionIn ? "in" : "out";
    return o;
}

}  // namespace

void TapeLog::Record(int recorderId, int deckTake, int recorderFrame, const ReceivedFrame& frame) {
    const int take = TakeNumber(recorderId, deckTake);
    TakeSpan& span = takes_[recorderId][static_cast<size_t>(take - 1)];
    span.recFrom = span.frames ? std::min(span.recFrom, recorderFrame) : recorderFrame;
    span.recTo = span.frames ? std::max(span.recTo, recorderFrame + 1) : recorderFrame + 1;
    ++span.frames;
    auto& tape = tapes_[recorderId];
    if (const auto old = tape.find(recorderFrame); old != tape.end())
        overwritten_[recorderId][{old->second.take, take}][recorderFrame] = old->second.content;
    tape[recorderFrame] = {take, frame};
}

// The log's own numbering, 1 up per recorder: a deck run that recorded no whole frame has none.
int TapeLog::TakeNumber(int recorderId, int deckTake) {
    auto& takes = takes_[recorderId];
    const auto last = lastDeckTake_.find(recorderId);
    if (last == lastDeckTake_.end() || last->second != deckTake)
        takes.push_back({});
    lastDeckTake_[recorderId] = deckTake;
    return static_cast<int>(takes.size());
}

std::vector<TapeSegment> TapeLog::Segments() const {
    std::vector<TapeSegment> segments;
    for (const auto& [recorder, frames] : tapes_)
        AppendSegments(
            recorder, frames, [](const TapeFrame& f) { return f.content; }, &segments);
    return segments;
}

std::vector<Take> TapeLog::Takes() const {
    std::vector<Take> takes;
    for (const auto& [recorder, spans] : takes_) {
        std::vector<int> left(spans.size() + 1, 0);
        for (const auto& [frame, content] : tapes_.at(recorder))
            ++left[static_cast<size_t>(content.take)];
        for (size_t i = 0; i < spans.size(); ++i)
            takes.push_back({recorder, static_cast<int>(i + 1), spans[i].recFrom, spans[i].recTo,
                             spans[i].frames, left[i + 1]});
    }
    return takes;
}

std::vector<OverwrittenSegment> TapeLog::Overwritten() const {
    std::vector<OverwrittenSegment> result;
    for (const auto& [recorder, byPair] : overwritten_)
        for (const auto& [takes, frames] : byPair) {
            std::vector<TapeSegment> segments;
            AppendSegments(
                recorder, frames, [](const ReceivedFrame& f) { return f; }, &segments);
            for (const TapeSegment& s : segments)
                result.push_back({takes.first, takes.second, s});
        }
    return result;
}

std::string TapeLog::Json() const {
    QJsonArray segments, takes, overwritten;
    for (const TapeSegment& s : Segments())
        segments.append(SegmentJson(s));
    for (const Take& t : Takes())
        takes.append(QJsonObject{{"recorder", t.recorder},
                                 {"take", t.number},
                                 {"rec_from", t.recFrom},
                                 {"rec_to", t.recTo},
                                 {"frames", t.frames},
                                 {"frames_left", t.framesLeft}});
    for (const OverwrittenSegment& o : Overwritten()) {
        QJsonObject object = SegmentJson(o.segment);
        object["take"] = o.take;
        object["by_take"] = o.byTake;
        overwritten.append(object);
    }
    const QJsonObject root{{"segments", segments}, {"takes", takes}, {"overwritten", overwritten}};
    return QJsonDocument(root).toJson().toStdString();
}

}  // namespace tarnsim
