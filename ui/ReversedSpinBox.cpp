#include "ui/ReversedSpinBox.h"

QAbstractSpinBox::StepEnabled ReversedSpinBox::stepEnabled() const {
    // The arrows are swapped, so each is available when the opposite direction still has room.
    StepEnabled enabled = StepNone;
    if (value() > minimum())
        enabled |= StepUpEnabled;
    if (value() < maximum())
        enabled |= StepDownEnabled;
    return enabled;
}
