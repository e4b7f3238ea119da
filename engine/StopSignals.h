// The signals that ask a running program to end (SIGINT from a terminal's Ctrl+C, SIGTERM from
// kill or a closing session, SIGHUP from a closed terminal or a logout, SIGQUIT) act as the
// user's Stop: a timed operation stops with the recorder in rec-pause and the player stopped,
// keeps its resume point, and only then does the program end. SIGTSTP (a terminal's Ctrl+Z)
// stops the operation the same way and then suspends the program instead of ending it. The
// handler does nothing but note the signal (lock-free atomics the engine reads) and write a
// byte to a pipe an event loop can watch. Signals that follow the first are noted too and never
// take a default way out: a logout's SIGTERM and SIGHUP a millisecond apart still end with the
// recorder paused (a program that hangs instead is the tape guard's to handle).
#pragma once

namespace stopsignals {

// Installs the handler for the five signals (once a process; later calls do nothing).
void Catch();
// The first of the ending signals caught since Catch, 0 when none.
int Received();
// True when it was another than the terminal's Ctrl+C: the system, not the user, ends the run.
bool FromSystem();
// A suspension (SIGTSTP) waits for the running operation to stop.
bool SuspendRequested();
// An ending signal or a suspension is pending: whatever the link thread follows, it lets go.
bool Pending();
// Suspends the process now (SIGSTOP) and returns once it is continued; the request is cleared.
void SuspendNow();
// The read end of the pipe the handler writes to (-1 before Catch): readable once a signal came.
int NotifyFd();

}  // namespace stopsignals
