// A two-digit spin field for one part of a timecode (hours, minutes, seconds or frames). Digits
// typed into a full field shift in from the right as long as the value stays in range; a digit
// that would take it past the maximum is typed over instead (TypeOverDigit), so the user can
// always type a time without deleting first.
#pragma once

#include <QSpinBox>

class TimeSpinField : public QSpinBox {
    Q_OBJECT

public:
    explicit TimeSpinField(QWidget* parent = nullptr);

protected:
    QString textFromValue(int value) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Handles a digit key whose result would exceed the maximum; false for every other key.
    bool TypeOverDigit(const QKeyEvent& event);
    void ShowTwoDigits(int caret);
};
