// What the guard does once it has taken the bus: it waits until the line is quiet (no reply of
// the program's last exchange still arriving), then puts the recorder out of record (rec-pause,
// or pause when it was moving otherwise) and the player into pause, and asks their status until
// each shows it standing, for up to kConfirmLimitMs, so that a recorder away for a moment is
// still caught when it comes back.
#pragma once

#include <QDateTime>
#include <QString>

#include "link/CComm.h"

class DeckSafing {
public:
    // Long enough for a recorder that was away to come back and answer.
    static constexpr int kConfirmLimitMs = 10000;

    struct DeckEnd {
        int id = 0;
        bool confirmed = false;
        int mode = -1;           // the last mode read, -1 when none
        QString counter;         // where it stands, empty when not read
        QDateTime confirmedAt;   // when its status first showed it standing (UTC)
        bool commanded = false;  // the guard has sent it its standing command
    };
    struct Result {
        DeckEnd recorder;
        DeckEnd player;
        int quietWaitMs = 0;
        bool terminalPaused = false;  // the edit terminal took its rec-pause
    };

    // portFd: the program's port, inherited and configured.
    DeckSafing(int portFd, const QString& portPath);

    // editTerminal: the recording runs through the player's edit terminal, which is told to
    // pause it first.
    Result Run(int recorderId, int playerId, bool editTerminal);

private:
    int WaitForQuietLine() const;

    int portFd_;
    CComm comm_;
};
