#include "engine/Operation.h"

StopStep Operation::StopStepAt(EngineStep step) const {
    switch (step) {
        case EngineStep::Cue:
            return StopStep::Cue;
        case EngineStep::Search:
            return StopStep::Search;
        case EngineStep::PlayToScene:
            return StopStep::PlayToScene;
        case EngineStep::PausedAtTarget:
            return StopStep::PauseAt;
        case EngineStep::AwaitInPoint:
            return StopStep::InPoint;
        case EngineStep::InPointPassed:
            return StopStep::Transition;
        case EngineStep::AwaitOutPoint:
        case EngineStep::OutTransitionStarted:
            return StopStep::OutPoint;
        case EngineStep::OutPointPassed:
            return StopStep::RunOn;
        case EngineStep::NextScene:
            return StopStep::TapeChange;
    }
    return StopStep::None;
}
