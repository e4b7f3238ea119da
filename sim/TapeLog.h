// What the recorders' tapes hold: for every recorded frame, which player frame arrived with
// which effect and transition state. Written out as the tape report (format in sim/README.md).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tarnsim {

// What a recorder's input carried at one frame.
struct ReceivedFrame {
    // Faded: the player's tape runs (or stands) under the end picture of an out transition.
    enum class Picture { Play, Still, Faded, None };
    int playerId = 0;  // bench id of the source device
    int sourceFrame = 0;
    Picture picture = Picture::None;
    int effect = 0;
    int transition = 0;         // running transition (Faded: the one that ran out), else 0
    bool transitionIn = false;  // running in (true) or out (false)

    bool SameState(const ReceivedFrame& o) const {
        return playerId == o.playerId && picture == o.picture && effect == o.effect &&
               transition == o.transition && transitionIn == o.transitionIn;
    }
};

// A maximal run of recorder frames [recFrom, recTo) that received player frames
// [srcFrom, srcTo) in one state: consecutive frames for Play, one repeated frame for Still.
struct TapeSegment {
    int recorder = 0;
    int recFrom = 0;
    int recTo = 0;
    ReceivedFrame first;
    int srcTo = 0;
};

class TapeLog {
public:
    // A later recording over the same frame replaces what was there.
    void Record(int recorderId, int recorderFrame, const ReceivedFrame& frame);
    std::vector<TapeSegment> Segments() const;
    std::string Json() const;

private:
    std::map<int, std::map<int, ReceivedFrame>> tapes_;  // recorder id -> frame -> content
};

}  // namespace tarnsim
