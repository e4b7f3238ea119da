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

bool CarriedOutByStatus(CTarnIO& io, const CarriedOut& carriedOut, const TarnCommand& question) {
    io.PrepareFrame(io.Request()[tarn::kIdByte], question);
    return AskStatus(io, linktiming::kCommandAttempts) && carriedOut(io.Reply());
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
        if (r == LinkResult::Ok) {
            if (tarn::IsReading(io.Status()))
                return true;
            // A refusal stands; a device that could not answer this time is asked again.
            if (tarn::VerdictOf(io.Status()) == tarn::Verdict::Refused)
                return false;
            continue;
        }
        if (r == LinkResult::NotWritten || r == LinkResult::BadId)
            return false;
    }
    return false;
}

bool SendUnlessTaken(CTarnIO& io, int attempts, const HasCommand& hasCommand) {
    const TarnFrame command = io.Request();
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const LinkResult r = io.Transact();
        if (r == LinkResult::Ok) {
            const tarn::Verdict verdict = tarn::VerdictOf(io.Status());
            if (verdict != tarn::Verdict::Again)
                return verdict == tarn::Verdict::Accepted;
            continue;
        }
        if (r == LinkResult::NotWritten || r == LinkResult::BadId)
            return false;
        const bool taken = hasCommand(io, Heard(io));
        io.Request() = command;
        if (taken)
            return true;
    }
    return false;
}

bool CommandOnce(CTarnIO& io, int attempts, const CarriedOut& carriedOut,
                 const TarnCommand& question) {
    // Silence: the deck did not take the request in, and it simply goes out again.
    return SendUnlessTaken(io, attempts, [&carriedOut, &question](CTarnIO& io, bool heard) {
        return heard && CarriedOutByStatus(io, carriedOut, question);
    });
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
