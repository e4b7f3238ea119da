// What the recorders' tapes hold: for every recorded frame, which player frame arrived with
// which effect and transition state, and in which take. A take is one run of recording, from
// the moment a deck starts recording until it stops; a later take over the same frames replaces
// what was there, and the log keeps what it replaced. Written out as the tape report (format in
// sim/README.md).
#pragma once

#include <map>
#include <string>
#include <utility>
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

// One take of a recorder, numbered from 1 in the order recorded: the frames it spanned and how
// many of them still hold its picture.
struct Take {
    int recorder = 0;
    int number = 0;
    int recFrom = 0;
    int recTo = 0;
    int frames = 0;
    int framesLeft = 0;
};

// Frames of take `take` that take `byTake` recorded over.
struct OverwrittenSegment {
    int take = 0;
    int byTake = 0;
    TapeSegment segment;
};

class TapeLog {
public:
    // `deckTake` tells the recorder's runs of recording apart: a new value starts a new take.
    void Record(int recorderId, int deckTake, int recorderFrame, const ReceivedFrame& frame);
    // The tapes as they stand.
    std::vector<TapeSegment> Segments() const;
    std::vector<Take> Takes() const;
    std::vector<OverwrittenSegment> Overwritten() const;
    std::string Json() const;

private:
    struct TapeFrame {
        int take = 0;
        ReceivedFrame content;
    };
    struct TakeSpan {
        int recFrom = 0;
        int recTo = 0;
        int frames = 0;
    };
    int TakeNumber(int recorderId, int deckTake);

    std::map<int, std::map<int, TapeFrame>> tapes_;  // recorder id -> frame -> content
    std::map<int, std::vector<TakeSpan>> takes_;     // recorder id -> takes in order
    std::map<int, int> lastDeckTake_;                // recorder id -> the deck's current take
    // recorder id -> (take, replacing take) -> frame -> what the take had recorded there
    std::map<int, std::map<std::pair<int, int>, std::map<int, ReceivedFrame>>> overwritten_;
};

}  // namespace tarnsim
