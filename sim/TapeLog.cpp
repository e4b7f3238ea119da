#include "sim/TapeLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

}  // namespace

void TapeLog::Record(int recorderId, int recorderFrame, const ReceivedFrame& frame) {
    tapes_[recorderId][recorderFrame] = frame;
}

std::vector<TapeSegment> TapeLog::Segments() const {
    std::vector<TapeSegment> segments;
    for (const auto& [recorder, frames] : tapes_) {
        for (const auto& [recFrame, f] : frames) {
            if (!segments.empty() && segments.back().recorder == recorder &&
                Continues(segments.back(), recFrame, f)) {
                segments.back().recTo = recFrame + 1;
                segments.back().srcTo = f.sourceFrame + 1;
                continue;
            }
            segments.push_back({recorder, recFrame, recFrame + 1, f, f.sourceFrame + 1});
        }
    }
    return segments;
}

std::string TapeLog::Json() const {
    QJsonArray list;
    for (const TapeSegment& s : Segments()) {
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
        list.append(o);
    }
    return QJsonDocument(QJsonObject{{"segments", list}}).toJson().toStdString();
}

}  // namespace tarnsim
