// The engine's operations and how each one ends: what a host asks for and what it hears back.
#pragma once

// The timed deck operations, numbered as the controller's buttons start them.
enum class AutoKind : int {
    Idle = 0,
    Goto = 1,
    Preview = 2,
    Review = 3,
    AutoRec = 4,
    Preroll = 5,
    Edit = 6,
};

enum class AutoResult : int {
    Finished = 0,
    Stopped = 1,  // the user's Stop or a signal
    Failed = 2,   // a deck stopped, refused a command or fell silent
};
