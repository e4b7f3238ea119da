#include "guard/DeckSafing.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "edit/Timecode.h"
#include "link/CTarnIO.h"
#include "link/Clock.h"
#include "link/DeckExchange.h"
#include "link/LinkTiming.h"
#include "link/TarnCommands.h"
#include "link/TarnFrame.h"
#include "link/TarnVtr.h"

namespace {

// The line is quiet once nothing has come in for as long as a whole reply may take to come,
// and nothing waits to go out.
constexpr int kQuietMs = linktiming::kReplyCompleteMs;
constexpr int kQuietStepMs = 5;
// A line that never falls quiet (noise) is taken anyway after this: the decks matter more.
constexpr int kQuietLimitMs = 1000;
// Between rounds of status questions to decks not yet standing.
constexpr int kRoundPauseMs = 20;

// Only a done verdict carries a reading; a refused or pending reply is no position.
bool GaveStatus(const TarnFrame& reply) {
    return tarn::IsReading(reply[tarn::kStatusByte]);
}

bool Stands(int mode) {
    return mode == ModeStop || mode == ModePause || mode == ModeRecordPause || mode == ModeEject ||
           mode == ModeNoDeck;
}

// The command that stands a deck found moving: a recorder recording, or on its way into or
// out of record, goes to rec-pause (its tape stays threaded, ready for a resume; a change into
// record still under way is called off), any other deck to pause.
int StandingMode(int mode) {
    return mode == ModeRecord || mode == ModeRecordPause ? ModeRecordPause : ModePause;
}

int ElapsedMs(std::chrono::steady_clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - since)
                                .count());
}

// One status question; the deck is commanded to stand when it moves. True once it stands.
bool StandOnce(CTarnIO& io, DeckSafing::DeckEnd& deck) {
    io.PrepareFrame(static_cast<uint8_t>(deck.id), tarncmd::kStatusQuery);
    if (!deckexchange::AskStatus(io, 1))
        return false;
    const TarnFrame& reply = io.Reply();
    if (!GaveStatus(reply))
        return false;
    deck.mode = deckexchange::StatusMode(reply);
    int32_t frames = 0;
    Timecode tc;
    if (TarnVtr::DecodeCounter(reply, &frames, &tc))
        deck.counter = TarnVtr::CounterText(frames, tc).trimmed();
    const bool busy = deckexchange::IsBusy(reply);
    if (Stands(deck.mode) && !busy)
        return true;
    // A change under way after the guard's own command is that command: it is let finish. One
    // that the program began (a recorder going into record) is countermanded.
    if (busy && deck.commanded)
        return false;
    deckexchange::SendMode(io, deck.id, StandingMode(deck.mode), 1);
    deck.commanded = true;
    return false;
}

}  // namespace

DeckSafing::DeckSafing(int portFd, const QString& portPath) : portFd_(portFd) {
    comm_.Adopt(portFd, portPath);
}

DeckSafing::Result DeckSafing::Run(int recorderId, int playerId, bool editTerminal) {
    Result result;
    result.quietWaitMs = WaitForQuietLine();
    result.recorder.id = recorderId;
    result.player.id = playerId;
    SteadyClock clock;
    CTarnIO io(comm_, clock);
    if (editTerminal && playerId != 0) {
        io.PrepareFrame(static_cast<uint8_t>(playerId), tarncmd::kTerminalRecordPause);
        result.terminalPaused = io.TransactRetry(linktiming::kCommandAttempts);
    }
    const auto start = std::chrono::steady_clock::now();
    // The recorder first in every round: it is the one that harms a tape.
    DeckEnd* decks[] = {&result.recorder, &result.player};
    for (;;) {
        bool allStand = true;
        for (DeckEnd* deck : decks) {
            if (deck->id == 0 || deck->confirmed)
                continue;
            deck->confirmed = StandOnce(io, *deck);
            if (deck->confirmed)
                deck->confirmedAt = QDateTime::currentDateTimeUtc();
            allStand = allStand && deck->confirmed;
        }
        if (allStand || ElapsedMs(start) >= kConfirmLimitMs)
            return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(kRoundPauseMs));
    }
}

int DeckSafing::WaitForQuietLine() const {
    const auto start = std::chrono::steady_clock::now();
    int waiting = -1;
    int quietSinceMs = 0;
    while (ElapsedMs(start) < kQuietLimitMs) {
        int in = 0;
        int out = 0;
        ::ioctl(portFd_, TIOCINQ, &in);
        ::ioctl(portFd_, TIOCOUTQ, &out);
        if (in != waiting || out > 0) {
            waiting = in;
            quietSinceMs = ElapsedMs(start);
        } else if (ElapsedMs(start) - quietSinceMs >= kQuietMs) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kQuietStepMs));
    }
    return ElapsedMs(start);
}
