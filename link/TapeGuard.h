// The program's side of the tape guard: clipwright-guard, a small process of its own, started
// whenever an operation can leave a deck moving. It inherits the open port and one end of a
// channel. Over the channel the program says what the decks are doing and, after its exchanges,
// that it is alive; the guard takes the bus only when the program dies while the decks are not
// safe, or stops answering while the recorder records, and says so before its first byte. The
// bus keeps one master: once the guard has taken over, this side waits until the guard has
// ended, and sends nothing more until the operation has seen the takeover. Every call is safe
// from any thread.
#pragma once

#include <sys/types.h>
#include <QString>
#include <chrono>
#include <mutex>

class CComm;

// What a guard is started for; the note the guard leaves names it.
enum class GuardedOperation : char {
    AutoRec = 'a',
    Edit = 'e',
    Preview = 'p',
    Calibration = 'c',
};

// What the decks are doing while an operation runs.
enum class DeckActivity : char {
    Moving = 'm',     // the program dying now would leave a deck moving
    Recording = 'r',  // the recorder records: a hang harms the tape too
};

namespace guardchannel {
// The bytes on the channel besides the operations' and activities' own.
constexpr char kBeat = 'b';
constexpr char kSafe = 's';
constexpr char kTakingOver = 't';  // the guard's only word, before it takes the bus
// A program that has not beaten for this long while recording is taken as hung: longer than
// any exchange with its retries, far shorter than a scene.
constexpr int kHangLimitMs = 2000;
// The program beats at most this often: the guard needs to hear it well within the hang limit.
constexpr int kBeatIntervalMs = 200;
// How long the guard may keep the bus once it has taken it: its own confirmations (10 s)
// and the quiet line before them.
constexpr int kTakeOverLimitMs = 12000;
}  // namespace guardchannel

class TapeGuard {
public:
    explicit TapeGuard(CComm& comm);
    ~TapeGuard();
    TapeGuard(const TapeGuard&) = delete;
    TapeGuard& operator=(const TapeGuard&) = delete;

    // Where the guard logs and leaves its note; unset, it finds the program folder as a program
    // started without --home does.
    void SetProgramFolder(const QString& folder);

    // An operation begins: a guard stands by from now on for these decks (0: none), started
    // unless one already does. editTerminal: the player's edit terminal starts and pauses the
    // recording.
    void Arm(GuardedOperation operation, int recorderId, int playerId, bool editTerminal = false);
    void Report(DeckActivity activity);
    // The program is alive: sent at most every kBeatIntervalMs.
    void Beat();
    // The operation has ended with the decks safe: the guard ends without a word.
    void Disarm();
    // True once the guard has taken the bus in this operation; returns only after the guard has
    // ended (or its time is up), so the program never talks over it. The operation that asks
    // has seen the takeover: from then on it may talk again, to end itself.
    bool TookOver();
    // Before every exchange: false from the guard's takeover until the operation has seen it,
    // so that no command of the step that was under way goes out after the guard's pause.
    bool MayTalk();

private:
    // Reads what the guard said; after its takeover, waits until it has ended.
    void CheckChannelLocked();
    bool SpawnLocked();
    void SendLocked(char byte);
    void ReadChannelLocked();
    // The guard died: logged, and another started while an operation runs.
    void ReplaceGuardLocked();
    void WaitForGuardEndLocked();
    void CloseLocked();

    CComm& comm_;
    std::mutex mutex_;
    QString folder_;
    int channel_ = -1;
    pid_t pid_ = -1;
    int spawns_ = 0;  // guards started: tells a replaced guard's channel from the old one
    GuardedOperation operation_ = GuardedOperation::AutoRec;
    DeckActivity activity_ = DeckActivity::Moving;
    int recorderId_ = 0;
    int playerId_ = 0;
    bool editTerminal_ = false;
    bool armed_ = false;
    bool tookOver_ = false;
    bool takeOverSeen_ = false;  // the operation knows: it may talk again to end itself
    std::chrono::steady_clock::time_point lastBeat_{};
};
