#include "link/DeckExchange.h"

#include "link/LinkTiming.h"
#include "link/TarnCommands.h"

namespace deckexchange {

namespace {

constexpr int kModeByte = 4;  // status reply: low four bits, the transport state

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

bool CarriedOutByStatus(CTarnIO& io, const CarriedOut& carriedOut) {
    const TarnFrame command = io.Request();
    io.PrepareFrame(command[tarn::kIdByte], tarncmd::kStatusQuery);
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

bool CommandOnce(CTarnIO& io, int attempts, const CarriedOut& carriedOut) {
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
        if (Heard(io) && CarriedOutByStatus(io, carriedOut))
            return true;
    }
    return false;
}

bool IsBusy(const TarnFrame& status) {
    return (status[tarn::kStatusByte] & tarn::kStatusBusy) != 0;
}

int StatusMode(const TarnFrame& status) {
    return status[kModeByte] & 0x0F;
}

}  // namespace deckexchange
