#include "ui/WindowOwner.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Hands the owner's native window to the owned one each time it shows: the owner may not have
// had a native window when the two were paired, and Qt creates the owned one only at its show.
class TransientParentOnShow : public QObject {
public:
    TransientParentOnShow(QWidget* window, QWidget* owner) : QObject(window), owner_(owner) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            Attach(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void Attach(QWidget* window) const {
        if (!owner_)
            return;
        QWindow* own = window->windowHandle();
        QWindow* ownerWindow = owner_->window()->windowHandle();
        if (own != nullptr && ownerWindow != nullptr && own != ownerWindow)
            own->setTransientParent(ownerWindow);
    }

    QPointer<QWidget> owner_;
};

}  // namespace

void KeepAboveOwner(QWidget* window, QWidget* owner) {
    if (window != nullptr)
        window->installEventFilter(new TransientParentOnShow(window, owner));
}
