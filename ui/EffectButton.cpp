#include "ui/EffectButton.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QMouseEvent>

namespace {

// What a screen reader meets: a push button named by its hint ("White fade"), unavailable while
// the player cannot do its code, that its press action applies.
class EffectButtonAccessible : public QAccessibleWidget {
public:
    explicit EffectButtonAccessible(EffectButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return widget()->toolTip();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const auto* button = static_cast<const EffectButton*>(widget());
        state.disabled = !button->isAvailable();
        state.pressed = button->isPressedDown();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList(QAccessibleActionInterface::pressAction()) +
               QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == QAccessibleActionInterface::pressAction())
            static_cast<EffectButton*>(widget())->Activate();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* EffectButtonFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("EffectButton") && object->isWidgetType())
        return new EffectButtonAccessible(static_cast<EffectButton*>(object));
    return nullptr;
}

// The pictures are 30 x 17; in the narrower buttons they are shown a little smaller, whole,
// rather than cut off at the right edge.
constexpr QSize kPictureSize{30, 17};
constexpr int kFaceMargin = 2;
// How far the picture moves while the button is held down.
constexpr int kPressShift = 2;

QSize FittedPictureSize(int buttonWidth) {
    const int width = std::min(kPictureSize.width(), buttonWidth - kFaceMargin);
    return {width,
            (width * kPictureSize.height() + kPictureSize.width() / 2) / kPictureSize.width()};
}

}  // namespace

EffectButton::EffectButton(QWidget* toolbarPanel)
    : QFrame(toolbarPanel), picture_(new QLabel(this)) {
    static const bool accessible = [] {
        QAccessible::installFactory(EffectButtonFactory);
        return true;
    }();
    Q_UNUSED(accessible);
    hide();
    resize(26, kHeight);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setFrameStyle(QFrame::NoFrame);
    setLineWidth(1);
    setMouseTracking(true);
    picture_->setAttribute(Qt::WA_TranslucentBackground);
    picture_->setMouseTracking(true);
    picture_->installEventFilter(this);
}

void EffectButton::Setup(QPoint topLeft, int width, int code, const QString& hint) {
    code_ = code;
    setGeometry(QRect(topLeft, QSize(width, kHeight)));
    picture_->setToolTip(hint);
    setToolTip(hint);
    PlacePicture();
    show();
}

void EffectButton::ShowPicture(const QIcon& picture, bool available) {
    icon_ = picture;
    available_ = available;
    picture_->clear();
    const QSize size = FittedPictureSize(width());
    picture_->setPixmap(icon_.pixmap(size, devicePixelRatioF()));
    picture_->resize(size);
    picture_->update();
}

void EffectButton::PlacePicture() {
    const QSize size = FittedPictureSize(width());
    const QPoint centred((width() - size.width()) / 2, (height() - size.height()) / 2);
    picture_->move(pressed_ ? centred + QPoint(kPressShift, kPressShift) : centred);
}

void EffectButton::SetRaised(bool raised) {
    setFrameStyle(raised ? QFrame::Panel | QFrame::Raised : QFrame::NoFrame);
}

void EffectButton::Activate() {
    if (available_)
        emit clicked(code_);
}

void EffectButton::Press() {
    if (!available_)
        return;
    pressed_ = true;
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PlacePicture();
}

void EffectButton::Release(const QMouseEvent& event, QPoint onButton) {
    // The face always comes back up, whether or not the button could be pressed; any mouse
    // button lowers it, but only the primary one applies the effect.
    const bool wasPressed = std::exchange(pressed_, false);
    setFrameStyle(QFrame::NoFrame);
    PlacePicture();
    if (wasPressed && event.button() == Qt::LeftButton && rect().contains(onButton))
        Activate();
}

void EffectButton::mousePressEvent(QMouseEvent* event) {
    Press();
    event->accept();
}

void EffectButton::mouseReleaseEvent(QMouseEvent* event) {
    Release(*event, event->position().toPoint());
    event->accept();
}

void EffectButton::mouseMoveEvent(QMouseEvent* event) {
    emit hovered(this);
    event->accept();
}

bool EffectButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picture_)
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            Press();
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            Release(*mouse, picture_->mapToParent(mouse->position().toPoint()));
            return true;
        }
        case QEvent::MouseMove:
            emit hovered(this);
            return true;
        default:
            return false;
    }
}
