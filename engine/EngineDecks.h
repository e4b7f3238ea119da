// The deck operations of the automatic editing engine: the addressed deck's mode and position,
// mode changes that wait for the deck to settle, the recorder's record and rec-pause (directly
// or through the player's edit terminal) and the recorder's position. Safe from the GUI thread
// (AutoStart) and the link thread (the tick): switches of the addressed id happen inside one
// link job, so no status poll ever goes to the wrong deck.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "engine/EngineHost.h"

class TarnLink;
class TarnVtr;
struct LinkJobResult;

// How a deck took a command: carried out, refused, or it never answered.
enum class DeckAnswer { Done, Refused, NoAnswer };

struct DeckReply {
    DeckAnswer answer = DeckAnswer::Done;

    static DeckReply Of(const LinkJobResult& result);
    explicit operator bool() const { return answer == DeckAnswer::Done; }
};

class EngineDecks {
public:
    EngineDecks(TarnLink& link, TarnVtr& vtr);

    // The decks of the run that starts now.
    void SetDevices(const AutoDevices& devices) { devices_ = devices; }
    const AutoDevices& Devices() const { return devices_; }

    int Mode() const;
    // Whether the addressed deck stands stopped; a stop reading is checked by asking again.
    bool Stopped();
    int32_t Position() const;
    int32_t SpeedByte() const;
    // Of the addressed deck's counter.
    int FramesPerSecond() const;
    uint32_t TimecodeMode() const;
    int AddressedId() const;
    void Address(int id);

    // Set mode and wait until the deck no longer reports busy.
    DeckReply SetModeAndWait(int mode);
    void ReadStatus();

    // Rec-pause (pause) or record: to the player's edit terminal when it is used, else to the
    // recorder; true without sending anything when there is neither.
    DeckReply RecorderCommand(bool pause);
    // Steps the addressed deck frame by frame until its counter reads target; false when it does
    // not get there within maxSteps steps or a step is refused. A step whose reply was lost is
    // not repeated blindly: the counter is read again first.
    bool StepOnto(int32_t target, int maxSteps);

    // The recorder's counter by a status query of up to five attempts (a lost or damaged reply
    // is asked again); nothing when the recorder does not answer, refuses or has no counter.
    std::optional<int32_t> TryReadRecorderPosition();
    // A status query to the recorder (asked up to `attempts` times when its reply is lost): its
    // mode, its counter and whether it is still settling.
    struct RecorderReading {
        bool answered = false;  // with a reading: its verdict says done
        bool ok = false;        // answered with a reading that has a counter
        int32_t position = 0;
        bool busy = false;
        int mode = 0;
    };
    RecorderReading ReadRecorder(int attempts);

private:
    // Logs the command with the counter it went out at and the deck's answer; hands reply on.
    DeckReply Logged(const QString& command, DeckReply reply) const;

    TarnLink& link_;
    TarnVtr& vtr_;
    AutoDevices devices_;
};
