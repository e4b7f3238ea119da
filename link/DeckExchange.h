// Exchanges that a single lost, short, damaged or noisy reply does not defeat. A status query
// is safe to repeat and is simply asked again. A command that changes what a deck does (record,
// pause, a mode) is not sent twice blindly: when its reply went wrong but the deck did hear it,
// the deck's status is read first, and the command goes out again only when the deck has not
// carried it out.
#pragma once

#include <functional>

#include "link/CTarnIO.h"
#include "link/TarnCommands.h"

namespace deckexchange {

// The status reply of the deck asked after a lost command reply: true when it shows the deck
// doing what the command asked.
using CarriedOut = std::function<bool(const TarnFrame& status)>;

// The request as prepared, asked until a reply comes whole with a reading in it (at most
// `attempts` exchanges). A refusal ends it at once: no reading.
bool AskStatus(CTarnIO& io, int attempts);

// After a command's reply went wrong (heard: some of it came back) or never came: whether the
// device has the command all the same. It may use the link; the command is prepared again after.
using HasCommand = std::function<bool(CTarnIO& io, bool heard)>;

// The request as prepared (a command to one device), under TransactRetry's rules of acceptance
// and refusal, within `attempts` sendings; after a reply that went wrong or never came,
// `hasCommand` decides between accepted and sending it again.
bool SendUnlessTaken(CTarnIO& io, int attempts, const HasCommand& hasCommand);

// The request as prepared (a command to one device), under TransactRetry's rules of acceptance
// and refusal, within `attempts` sendings. After a reply that came but went wrong, the device's
// answer to `question` (a deck's status query unless another is given) decides: carried out
// counts as accepted (that answer is then the last reply).
bool CommandOnce(CTarnIO& io, int attempts, const CarriedOut& carriedOut,
                 const TarnCommand& question = tarncmd::kStatusQuery);

// The command of mode to deck id, sent once as CommandOnce sends it: a deck busy with a change or
// already in the mode after a lost reply has the command. A final status of exactly kStatusPending
// also counts as accepted. False for a mode that has no command, without sending.
bool SendMode(CTarnIO& io, int id, int mode, int attempts);
// A status reply that shows the deck carrying out mode (slow and search speeds are reported
// as play or reverse play), or busy with a change.
bool ShowsMode(const TarnFrame& status, int mode);

// The deck answered the last request, whole or not: it heard the request.
bool Heard(CTarnIO& io);

// Status replies: busy (a command is being carried out) and the deck's transport state.
bool IsBusy(const TarnFrame& status);
int StatusMode(const TarnFrame& status);

}  // namespace deckexchange

using deckexchange::AskStatus;
