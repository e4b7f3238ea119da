// Reel names for the tapes of an edit list written as an edit decision list. Editors accept at
// most eight letters, digits and underscores; each tape needs its own name, or two tapes would
// be conformed from one.
#pragma once

#include <QString>
#include <QStringList>

// One reel name per tape, in list order, from the memos of its tape-change rows: the memo made
// into a valid name (other characters become '_', cut to eight), or TAPE01, TAPE02, ... (the
// tape's number) when nothing is left of it, when it is a name editors reserve for black or the
// auxiliary source, or when an earlier tape already has it.
QStringList ReelNamesForTapes(const QStringList& tapeMemos);

// True for the reel names that mean no tape in an EDL: black and the auxiliary input.
bool IsReservedReelName(const QString& reel);
// True for black, the one source without any picture to copy. Editors also write the auxiliary
// name for every clip whose tape they do not know, so that one still stands for a source.
bool IsBlackReelName(const QString& reel);
