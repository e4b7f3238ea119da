#include "app/ControllerButton.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>

#include "config/ProgramFolder.h"

namespace {

constexpr QPoint kImageRest(4, 4);
constexpr QPoint kImagePressed(6, 6);

QPixmap LoadPicture(const ProgramFolder& folder, const char* state) {
    return QPixmap(folder.SuppliedFile(
        QStringLiteral("pictures/main/imgCtl_%1.png").arg(QLatin1String(state))));
}

}  // namespace

ControllerButton::ControllerButton(const ProgramFolder& folder, QWidget* parent)
    : QFrame(parent),
      image_(new QLabel(this)),
      normal_(LoadPicture(folder, "normal")),
      hover_(LoadPicture(folder, "hover")),
      pressed_(LoadPicture(folder, "pressed")) {
    setObjectName(QStringLiteral("pnlCtl"));
    image_->setObjectName(QStringLiteral("imgCtl"));
    setFixedSize(kSize, kSize);
    setFrameShape(QFrame::Panel);
    setCursor(Qt::PointingHandCursor);
    Show(Look::Normal);
}

void ControllerButton::Show(Look look) {
    const bool down = look == Look::Pressed;
    image_->setPixmap(down ? pressed_ : look == Look::Hover ? hover_ : normal_);
    image_->adjustSize();
    image_->move(down ? kImagePressed : kImageRest);
    // Raised under the pointer, sunken while pressed, flat otherwise.
    setFrameShadow(down ? QFrame::Sunken : QFrame::Raised);
    setLineWidth(look == Look::Normal ? 0 : 1);
}

void ControllerButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    pressedDown_ = true;
    Show(Look::Pressed);
}

void ControllerButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressedDown_)
        return;
    pressedDown_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    Show(inside ? Look::Hover : Look::Normal);
    if (inside)
        emit clicked();
}

void ControllerButton::enterEvent(QEnterEvent*) {
    if (isEnabled())
        Show(Look::Hover);
}

void ControllerButton::leaveEvent(QEvent*) {
    pressedDown_ = false;
    Show(Look::Normal);
}

void ControllerButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        Show(Look::Normal);
    QFrame::changeEvent(event);
}
