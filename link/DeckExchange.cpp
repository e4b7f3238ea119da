#include "link/DeckExchange.h"

#include "link/LinkTiming.h"
#include "link/TarnCommands.h"

namespace deckexchange {

namespace {

constexpr int kModeByte = 4;  // status reply: low four bits, the transport state

// The transport state a deck reports once it carries out a mode command.
int ReportedMode(int mode) {
    switch (mode) {
        case ModeSlowForward:
        case ModeForwardSearch:
            return ModePlay;
        case ModeSlowReverse:
        case ModeReverseSearch:
            return ModeReversePlay;
        default:
            return mode;
    }
}

enum class Verdict { Accepted, Refused, Again };

// TransactRetry's reading of one answered exchange.
Verdict VerdictOf(uint8_t status) {
    const uint8_t verdict = status & tarn::kStatusVerdictMask;
    if (verdict == tarn::kStatusRefused)
        return Verdict::Refused;
    if ((status & tarn::kStatusBusy) != 0 || verdict == 2 || verdict == 3 || verdict == 4)
        return Verdict::Accepted;
    return Verdict::Again;
}

bool CarriedOutByStatus(CTarnIO& io, const CarriedOut& carriedOut, const TarnCommand& question) {
    const TarnFrame command = io.Request();
    io.PrepareFrame(command[tarn::kIdByte], question);
    const bool answered = AskStatus(io, linktiming::kCommandAttempts);
    const bool done = answered && carriedOut(io.Reply());
    io.Request() = command;
    return done;
}

}  // namespace

bool Heard(CTarnIO& io) {
    switch (io.LastResult()) {
        case LinkResult::Ok:
        case LinkResult::BadMarks:
        case LinkResult::BadCheck:
            return true;
        case LinkResult::NoReply:
            return io.Comm().BytesRead() > 0;  // a short reply
        default:
            return false;
    }
}

bool AskStatus(CTarnIO& io, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const LinkResult r = io.Transact();
        if (r == LinkResult::Ok)
            return true;
        if (r == LinkResult::NotWritten || r == LinkResult::BadId)
            return false;
    }
    return false;
}

bool CommandOnce(CTarnIO& io, int attempts, const CarriedOut& carriedOut,
                 const TarnCommand& question) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const LinkResult r = io.Transact();
        if (r == LinkResult::Ok) {
            const Verdict verdict = VerdictOf(io.Status());
            if (verdict != Verdict::Again)
                return verdict == Verdict::Accepted;
            continue;
        }
        if (r == LinkResult::NotWritten || r == LinkResult::BadId)
            return false;
        // Silence: the deck did not take the request in, and it simply goes out again.
        if (Heard(io) && CarriedOutByStatus(io, carriedOut, question))
            return true;
    }
    return false;
}

bool SendMode(CTarnIO& io, int id, int mode, int attempts) {
    const std::optional<TarnCommand> command = tarncmd::ModeCommand(mode);
    if (!command)
        return false;
    io.PrepareFrame(static_cast<uint8_t>(id), *command);
    const auto showsMode = [mode](const TarnFrame& status) { return ShowsMode(status, mode); };
    return CommandOnce(io, attempts, showsMode) || io.Status() == tarncmd::kStatusPending;
}

bool ShowsMode(const TarnFrame& status, int mode) {
    return IsBusy(status) || StatusMode(status) == ReportedMode(mode);
}

bool IsBusy(const TarnFrame& status) {
    return (status[tarn::kStatusByte] & tarn::kStatusBusy) != 0;
}

int StatusMode(const TarnFrame& status) {
    return status[kModeByte] & 0x0F;
}

}  // namespace deckexchange
