#include "controller/WindowDrag.h"

#include <QWidget>
#include <QWindow>

void WindowDrag::Press(const QPoint& global) {
    dragging_ = true;
    moved_ = false;
    pressGlobal_ = global;
    windowStart_ = window_.pos();
}

bool WindowDrag::Move(const QPoint& global) {
    if (!dragging_)
        return false;
    const QPoint delta = global - pressGlobal_;
    if (!delta.isNull() && !moved_) {
        moved_ = true;
        QWindow* handle = window_.windowHandle();
        if (handle != nullptr && handle->startSystemMove()) {
            // From here the window manager has the pointer until the button comes up.
            dragging_ = false;
            return true;
        }
    }
    window_.move(windowStart_ + delta);
    return true;
}

WindowDrag::Ending WindowDrag::Release() {
    const Ending ending{!dragging_ || !moved_, dragging_};
    dragging_ = false;
    return ending;
}
