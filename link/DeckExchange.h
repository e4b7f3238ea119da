// Exchanges that a single lost, short, damaged or noisy reply does not defeat. A status query
// is safe to repeat and is simply asked again. A command that changes what a deck does (record,
// pause, a mode) is not sent twice blindly: when its reply went wrong but the deck did hear it,
// the deck's status is read first, and the command goes out again only when the deck has not
// carried it out.
#pragma once

#include <functional>

#include "link/CTarnIO.h"

namespace deckexchange {

// The status reply of the deck asked after a lost command reply: true when it shows the deck
// doing what the command asked.
using CarriedOut = std::function<bool(const TarnFrame& status)>;

// The request as prepared, asked until one reply comes whole (at most `attempts` exchanges).
bool AskStatus(CTarnIO& io, int attempts);

// The request as prepared (a command to one deck), under TransactRetry's rules of acceptance
// and refusal, within `attempts` sendings. After a reply that came but went wrong, the deck's
// status decides: carried out counts as accepted (the status reply is then the last reply).
bool CommandOnce(CTarnIO& io, int attempts, const CarriedOut& carriedOut);

// The deck answered the last request, whole or not: it heard the request.
bool Heard(CTarnIO& io);

// Status replies: busy (a command is being carried out) and the deck's transport state.
bool IsBusy(const TarnFrame& status);
int StatusMode(const TarnFrame& status);

}  // namespace deckexchange

using deckexchange::AskStatus;
