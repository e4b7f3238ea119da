#include "ui/TimeSpinField.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int kDigits = 2;

// The digit of a main-keyboard or keypad digit key typed without Ctrl or Alt, or -1.
int TypedDigit(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return -1;
    const int key = event.key();
    return key >= Qt::Key_0 && key <= Qt::Key_9 ? key - Qt::Key_0 : -1;
}

}  // namespace

TimeSpinField::TimeSpinField(QWidget* parent) : QSpinBox(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setKeyboardTracking(true);
}

QString TimeSpinField::textFromValue(int value) const {
    return QStringLiteral("%1").arg(value, kDigits, 10, QChar(u'0'));
}

void TimeSpinField::keyPressEvent(QKeyEvent* event) {
    if (TypedDigit(*event) < 0) {
        QSpinBox::keyPressEvent(event);
        return;
    }
    if (TypeOverDigit(*event)) {
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
    // "05" typed after "0" reads as 5: show it as the two digits the field always shows.
    if (lineEdit()->text() != textFromValue(value()))
        ShowTwoDigits(kDigits);
}

bool TimeSpinField::TypeOverDigit(const QKeyEvent& event) {
    const int digit = TypedDigit(event);
    QLineEdit* edit = lineEdit();
    QString text = edit->text();
    int caret = edit->cursorPosition();
    if (edit->hasSelectedText()) {
        caret = edit->selectionStart();
        text.remove(caret, edit->selectedText().size());
    }
    text.insert(caret, QChar(u'0' + digit));
    ++caret;
    bool isNumber = false;
    const int typed = text.toInt(&isNumber);
    if (isNumber && typed <= maximum())
        return false;
    // Past the maximum: at the end of a full field the field keeps its two digits; in front of
    // them the new digit starts the value afresh.
    const bool keepsFirstTwo = text.size() == kDigits + 1 && caret != 1;
    setValue(keepsFirstTwo ? text.left(kDigits).toInt() : digit);
    ShowTwoDigits(kDigits);
    return true;
}

void TimeSpinField::ShowTwoDigits(int caret) {
    lineEdit()->setText(textFromValue(value()));
    lineEdit()->setCursorPosition(caret);
}
