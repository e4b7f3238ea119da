#include "controller/SkinPicture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "controller/FocusFrame.h"

void SkinPicture::paintEvent(QPaintEvent* event) {
    if (pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    // The skin's pictures are made to the size of their places. Only an explicit
    // setEnabled(false) on the picture itself sets WA_ForceDisabled; a disabled window does not.
    QPixmap picture = pixmap();
    if (!isEnabled() && testAttribute(Qt::WA_ForceDisabled)) {
        QStyleOption option;
        option.initFrom(this);
        picture = style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    }
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture);
    if (hasFocus())
        PaintFocusFrame(painter, rect(), focusColour_);
}

void SkinPicture::Press() {
    const QPointF at = QRectF(rect()).center();
    const QPointF global = mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(this, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(this, &release);
}

void SkinPicture::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool clicks =
        (key == Qt::Key_Space && pressedBySpace_) || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (clicks && !event->isAutoRepeat()) {
        Press();
        return;
    }
    QLabel::keyPressEvent(event);
}
