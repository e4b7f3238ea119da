// The signals that ask a running program to end (SIGINT from a terminal's Ctrl+C, SIGTERM from
// kill or a closing session, SIGHUP from a closed terminal or a logout, SIGQUIT) act as the
// user's Stop: a timed operation stops with the recorder in rec-pause and the player stopped,
// keeps its resume point, and only then does the program end. The handler does nothing but
// note the signal (a lock-free atomic the engine reads) and write a byte to a pipe an event loop
// can watch; it also hands the four signals back to their default, so that a second one ends
// the program at once, even if the stop itself should hang.
#pragma once

namespace stopsignals {

// Installs the handler for the four signals (once a process; later calls do nothing).
void Catch();
// The first of them caught since Catch, 0 when none.
int Received();
// True when it was another than the terminal's Ctrl+C: the system, not the user, ends the run.
bool FromSystem();
// The read end of the pipe the handler writes to (-1 before Catch): readable once a signal came.
int NotifyFd();

}  // namespace stopsignals
