#include "controller/KeyCover.h"

#include "controller/SkinKey.h"
#include "controller/SkinPicture.h"

KeyCover::KeyCover(QWidget* panel, SkinPicture* lid, SkinPicture* openedLid, QList<SkinKey*> keys)
    : panel_(panel), lid_(lid), openedLid_(openedLid), keys_(std::move(keys)) {
    lid_->SetPressedBySpace(false);
    SetOpen(false);
}

bool KeyCover::IsOpen() const {
    return panel_->isHidden();
}

bool KeyCover::HoldsFocus() const {
    if (lid_->hasFocus() || openedLid_->hasFocus())
        return true;
    for (const SkinKey* key : keys_) {
        if (key->hasFocus())
            return true;
    }
    return false;
}

void KeyCover::SetOpen(bool open) {
    const bool hadFocus = HoldsFocus();
    // What shows next is shown first, so that the focus can move onto it before what it leaves
    // is hidden (a hidden focus would wander to the next key in the chain).
    if (open) {
        for (SkinKey* key : keys_)
            key->show();
        openedLid_->show();
        if (hadFocus)
            openedLid_->setFocus(Qt::OtherFocusReason);
        panel_->hide();
    } else {
        panel_->show();
        if (hadFocus)
            lid_->setFocus(Qt::OtherFocusReason);
        openedLid_->hide();
        for (SkinKey* key : keys_) {
            key->setDown(false);
            key->hide();
        }
    }
}
