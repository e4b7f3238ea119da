// A numeric spin field whose arrows step the other way: up lowers the value, down raises it.
// Used for amounts shown with a minus sign in front, where "up" should mean "closer to zero
// from below", i.e. a smaller amount subtracted.
#pragma once

#include <QSpinBox>

class ReversedSpinBox : public QSpinBox {
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

    void stepBy(int steps) override { QSpinBox::stepBy(-steps); }

protected:
    StepEnabled stepEnabled() const override;
};
