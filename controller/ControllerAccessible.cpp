#include "controller/ControllerAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>

#include "config/CaptionTable.h"
#include "controller/KeypadMap.h"
#include "controller/SkinKey.h"
#include "controller/SkinPicture.h"
#include "controller/TfrmAvCtl.h"

namespace {

const char* const kLampLitProperty = "lampLit";

enum class PictureKind { Button, Lamp, Indicator };

struct PictureWords {
    const char* name;
    const char* captionKey;
    PictureKind kind;
};

// Pictures the user can do something with, or learn something from; the panel is background.
constexpr PictureWords kPictures[] = {
    {"imgDeckp", "AX_DECKP", PictureKind::Button},
    {"imgDeckr", "AX_DECKR", PictureKind::Button},
    {"imgPgmCover", "AX_PGMOPEN", PictureKind::Button},
    {"imgPrgOpen", "AX_PGMCLOSE", PictureKind::Button},
    {"imgRecCover", "AX_RECOPEN", PictureKind::Button},
    {"imgRecOpen", "AX_RECCLOSE", PictureKind::Button},
    {"imgJog", "AX_DIAL", PictureKind::Button},
    {"imgLumpPause", "AX_JOGLAMP", PictureKind::Lamp},
    {"imgPtoR", "AX_ARROW", PictureKind::Indicator},
};

// The labels whose text changes; their description says what the text is.
constexpr std::pair<const char*, const char*> kLabels[] = {
    {"lblCounter", "AX_COUNTER"}, {"lblScene", "AX_SCENE"}, {"lblID", "AX_ID"}};

// Every key of the numeric keypad the controller answers.
constexpr Qt::Key kKeypadKeys[] = {Qt::Key_0,        Qt::Key_1,     Qt::Key_2,     Qt::Key_3,
                                   Qt::Key_4,        Qt::Key_5,     Qt::Key_6,     Qt::Key_7,
                                   Qt::Key_8,        Qt::Key_9,     Qt::Key_Plus,  Qt::Key_Minus,
                                   Qt::Key_Asterisk, Qt::Key_Slash, Qt::Key_Period};

const PictureWords* WordsOf(const QObject* picture) {
    for (const PictureWords& words : kPictures) {
        if (picture->objectName() == QLatin1String(words.name))
            return &words;
    }
    return nullptr;
}

// The keypad key that works this key, in shuttle or in jog mode (4 and 6 work the jog keys in
// one and the step keys in the other); empty for keys the keypad does not reach.
QString KeypadText(const QObject* key) {
    for (Qt::Key keypadKey : kKeypadKeys) {
        const std::optional<KeypadAction> action = KeypadActionFor(keypadKey, Qt::KeypadModifier);
        if (!action)
            continue;
        for (bool shuttle : {true, false}) {
            if (key->objectName() == QLatin1String(KeypadTargetFor(*action, shuttle).keyName))
                return QKeySequence(Qt::KeypadModifier | keypadKey)
                    .toString(QKeySequence::NativeText);
        }
    }
    return {};
}

// The name a widget goes by: its own accessible name, else its tooltip (the caption's hint).
QString SpokenName(const QWidget* widget) {
    const QString name = widget->accessibleName();
    return name.isEmpty() ? widget->toolTip() : name;
}

class SkinKeyAccessible : public QAccessibleWidget {
public:
    explicit SkinKeyAccessible(SkinKey* key) : QAccessibleWidget(key, QAccessible::Button) {}

    bool Covered() const { return widget()->isHidden(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return SpokenName(widget());
        if (t == QAccessible::Accelerator)
            return KeypadText(widget());
        if (t == QAccessible::Description)
            return widget()->accessibleDescription();  // the hint is the name already
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const auto* key = static_cast<const SkinKey*>(widget());
        state.pressed = key->isDown();
        if (key->HasLamp()) {
            state.checkable = true;
            state.checked = key->IsLit();
        }
        return state;
    }
    // A key under a closed cover offers nothing: its cover is the way to it.
    QStringList actionNames() const override {
        if (Covered())
            return {};
        return QStringList(QAccessibleActionInterface::pressAction()) +
               QAccessibleWidget::actionNames();
    }
    // Pressed as the mouse presses it: down, then up a moment later.
    void doAction(const QString& action) override {
        auto* key = static_cast<SkinKey*>(widget());
        if (Covered())
            return;
        if (action == QAccessibleActionInterface::pressAction())
            key->isEnabled() ? key->animateClick() : void();
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const QString keypad = KeypadText(widget());
        if (Covered())
            return {};
        if (action == QAccessibleActionInterface::pressAction() && !keypad.isEmpty())
            return {keypad};
        return QAccessibleWidget::keyBindingsForAction(action);
    }
};

class SkinPictureAccessible : public QAccessibleWidget {
public:
    SkinPictureAccessible(SkinPicture* picture, PictureKind kind)
        : QAccessibleWidget(
              picture, kind == PictureKind::Button ? QAccessible::Button : QAccessible::Indicator),
          kind_(kind) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return SpokenName(widget());
        if (t == QAccessible::Description)
            return widget()->accessibleDescription();  // the caption is the name already
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (kind_ == PictureKind::Lamp) {
            state.checkable = true;
            state.checked = widget()->property(kLampLitProperty).toBool();
        }
        return state;
    }
    QStringList actionNames() const override {
        if (kind_ != PictureKind::Button)
            return QAccessibleWidget::actionNames();
        return QStringList(QAccessibleActionInterface::pressAction()) +
               QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (kind_ == PictureKind::Button && action == QAccessibleActionInterface::pressAction())
            static_cast<SkinPicture*>(widget())->Press();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    PictureKind kind_;
};

QAccessibleInterface* ControllerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("SkinKey"))
        return new SkinKeyAccessible(static_cast<SkinKey*>(object));
    if (className == QLatin1String("SkinPicture")) {
        if (const PictureWords* words = WordsOf(object))
            return new SkinPictureAccessible(static_cast<SkinPicture*>(object), words->kind);
    }
    return nullptr;
}

// The Menu key (or Shift+F10) on any key or picture opens the popup menu beside it, as a
// right click on the panel does.
class KeyboardPopup : public QObject {
public:
    explicit KeyboardPopup(TfrmAvCtl& controller) : QObject(&controller), controller_(controller) {
        controller.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &controller_ || event->type() != QEvent::ContextMenu ||
            static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Keyboard)
            return false;
        const QWidget* focus = controller_.focusWidget();
        const QWidget* anchor = focus != nullptr ? focus : &controller_;
        controller_.popupMenu()->popup(anchor->mapToGlobal(anchor->rect().center()));
        return true;
    }

private:
    TfrmAvCtl& controller_;
};

}  // namespace

void InstallControllerAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ControllerFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void DescribeController(TfrmAvCtl& controller, const CaptionTable& captions) {
    InstallControllerAccessibility();
    for (const PictureWords& words : kPictures) {
        auto* picture = controller.findChild<SkinPicture*>(QLatin1String(words.name));
        if (picture == nullptr)
            continue;
        picture->setToolTip(captions.CaptionText(QLatin1String(words.captionKey)));
        if (words.kind == PictureKind::Button)
            picture->setFocusPolicy(Qt::TabFocus);
    }
    for (const auto& [name, captionKey] : kLabels) {
        if (auto* label = controller.findChild<QLabel*>(QLatin1String(name)))
            label->setAccessibleDescription(captions.CaptionText(QLatin1String(captionKey)));
    }
    new KeyboardPopup(controller);
}

void ShowLampState(QWidget* lamp, bool lit) {
    lamp->setProperty(kLampLitProperty, lit);
    // Only with a listener: asking for the lamp's interface while the window is being made
    // would keep the one made before the window's own kind exists.
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(lamp, changed);
    QAccessible::updateAccessibility(&event);
}
