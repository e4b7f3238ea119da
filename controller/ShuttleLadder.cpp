#include "controller/ShuttleLadder.h"

#include "link/TarnVtr.h"

ShuttleStep ShuttleStepFrom(int mode, bool towardsForward) {
    // Dropping from normal play (either way) to the slow speed goes through a pause: the decks
    // take slow only from a standing tape. A deck that cannot play in reverse searches instead.
    if (towardsForward) {
        switch (mode) {
            case ModeForwardSearch:
                return {};
            case ModePlay:
                return {{ModeForwardSearch}, {}};
            case ModeSlowForward:
                return {{ModePlay}, {}};
            case ModePause:
                return {{ModeSlowForward}, {}};
            case ModeSlowReverse:
                return {{ModePause}, {}};
            case ModeReversePlay:
                return {{ModePause, ModeSlowReverse}, {}};
            case ModeReverseSearch:
                return {{ModeReversePlay}, {ModePause, ModeSlowReverse}};
            default:
                return {};
        }
    }
    switch (mode) {
        case ModeForwardSearch:
            return {{ModePlay}, {}};
        case ModePlay:
            return {{ModePause, ModeSlowForward}, {}};
        case ModeSlowForward:
            return {{ModePause}, {}};
        case ModePause:
            return {{ModeSlowReverse}, {}};
        case ModeSlowReverse:
            return {{ModeReversePlay}, {ModeReverseSearch}};
        case ModeReversePlay:
            return {{ModeReverseSearch}, {}};
        default:
            return {};
    }
}
