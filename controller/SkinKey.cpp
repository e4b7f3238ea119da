#include "controller/SkinKey.h"

#include <QKeyEvent>
#include <QPainter>

#include "controller/ControllerAccessible.h"
#include "controller/ControllerSkin.h"
#include "controller/FocusFrame.h"

namespace {

// Enter works the key as Space does: pressed while held, the click on release.
template <typename Handler>
void WithEnterAsSpace(QKeyEvent* event, Handler handle) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        handle(event);
        return;
    }
    QKeyEvent space(event->type(), Qt::Key_Space, event->modifiers(), QStringLiteral(" "),
                    event->isAutoRepeat());
    handle(&space);
    event->setAccepted(space.isAccepted());
}

}  // namespace

SkinKey::SkinKey(const QString& objectName, const ControllerSkin& skin, QWidget* parent)
    : QPushButton(parent) {
    setObjectName(objectName);
    setGeometry(skin.Place(objectName));
    setFlat(true);
    // Keys act on the press, so a key with the focus turns Space into a deck command. Only a
    // keyboard user's Tab puts it there; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    normal_ = skin.Picture(objectName);
    down_ = skin.Picture(objectName, QStringLiteral("down"));
    disabled_ = skin.Picture(objectName, QStringLiteral("disabled"));
    litPicture_ = skin.Picture(objectName, QStringLiteral("lit"));
    reverse_ = skin.Picture(objectName, QStringLiteral("rev"));
    reverseLit_ = skin.Picture(objectName, QStringLiteral("rev_lit"));
    focusColour_ = skin.FocusColour();
}

void SkinKey::SetLit(bool lit) {
    if (lit == lit_)
        return;
    lit_ = lit;
    update();
    ShowLampState(this, lit);
}

void SkinKey::SetReversed(bool reversed) {
    if (reversed == reversed_)
        return;
    reversed_ = reversed;
    update();
}

QPixmap SkinKey::CurrentPicture() const {
    // Greyed when off, also when only its window is (the progress window holds the controller
    // during a timed operation): nothing may look pressable then. A lit lamp keeps showing what
    // the deck does, unless the key itself is off.
    const bool keepsLamp = lit_ && !testAttribute(Qt::WA_ForceDisabled);
    if (!isEnabled() && !keepsLamp && !disabled_.isNull())
        return disabled_;
    if (isDown() && !down_.isNull())
        return down_;
    if (reversed_ && !reverse_.isNull())
        return lit_ && !reverseLit_.isNull() ? reverseLit_ : reverse_;
    if (lit_ && !litPicture_.isNull())
        return litPicture_;
    return normal_;
}

void SkinKey::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), CurrentPicture());
    if (hasFocus())
        PaintFocusFrame(painter, rect(), focusColour_);
}

void SkinKey::keyPressEvent(QKeyEvent* event) {
    WithEnterAsSpace(event, [this](QKeyEvent* e) { QPushButton::keyPressEvent(e); });
}

void SkinKey::keyReleaseEvent(QKeyEvent* event) {
    WithEnterAsSpace(event, [this](QKeyEvent* e) { QPushButton::keyReleaseEvent(e); });
}
