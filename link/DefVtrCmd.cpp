#include "link/DefVtrCmd.h"

#include "link/TarnLink.h"

DefVtrCmd::DefVtrCmd(TarnLink& link) : link_(link) {
    setObjectName("DefVtrCmd");
}

void DefVtrCmd::run() {
    // Jobs first on every turn: a waiting command goes out before the next poll.
    while (link_.WaitForWork()) {
        link_.ServePending();
        link_.RunPollPass();
    }
    link_.FailRemainingJobs();
    link_.NoteThreadEnded();
}
