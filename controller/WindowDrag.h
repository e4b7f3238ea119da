// Moving a frameless window by dragging one of its pictures with the left button. The window
// manager moves the window where it can (a Wayland compositor ignores a window's own move());
// elsewhere the window follows the pointer itself.
#pragma once

#include <QPoint>

class QWidget;

class WindowDrag {
public:
    explicit WindowDrag(QWidget& window) : window_(window) {}

    // The left button went down on a picture that drags the window.
    void Press(const QPoint& global);
    // The pointer moved: true when the move belongs to a drag (and was acted on).
    bool Move(const QPoint& global);

    struct Ending {
        bool wasClick = true;      // the pointer never moved while the button was down
        bool wasDragging = false;  // a press had started a drag
    };
    // The left button came up.
    Ending Release();

private:
    QWidget& window_;
    bool dragging_ = false;
    bool moved_ = false;
    QPoint pressGlobal_;
    QPoint windowStart_;
};
