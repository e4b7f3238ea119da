// The program's end when the system asks for it (a logout, a closed terminal, kill): SIGTERM,
// SIGHUP, SIGQUIT and SIGINT. A timed operation running then stops as at the user's Stop (the
// engine and the deck measurement see the signal themselves), no box waits for an answer that
// nobody will give, and once the decks are left safe the program ends as it does when its main
// window is closed, without its questions. Signals that follow do not hurry it. SIGTSTP stops an
// operation the same way and then suspends the program, which goes on when continued.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

class ProgramWindows;

class SignalEnd : public QObject {
    Q_OBJECT

public:
    // Catches the signals from now on.
    explicit SignalEnd(ProgramWindows& windows, QObject* parent = nullptr);

private:
    void OnSignal();
    void ActWhenIdle();

    ProgramWindows& windows_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer idleCheck_;
};
