// One flip cover of the controller: a lid over a group of keys (PROGRAM over the timed
// operations, RECORD over Preroll and Edit). Closed, the keys under it are out of the window as
// far as the keyboard and assistive technologies go: hidden, so Tab passes them, the keypad and
// shortcuts cannot reach them and no action is offered on them. Open, only the folded-back lid
// shows above the keys. Keys that start a recording live under a cover, so opening it is the
// deliberate first step: a click, the lid's press action, or Enter on the closed lid (Space,
// pressed by habit on whatever has the focus, passes a closed lid by).
#pragma once

#include <QList>
#include <QPointer>

class QLabel;
class QWidget;
class SkinKey;
class SkinPicture;

class KeyCover {
public:
    // panel: the closed cover with its lid picture inside; openedLid: the folded-back lid;
    // keys: the keys the panel covers. The cover starts closed.
    KeyCover(QWidget* panel, SkinPicture* lid, SkinPicture* openedLid, QList<SkinKey*> keys);

    bool IsOpen() const;
    // Opens or closes; a focus inside the cover stays on the cover (the lid that now shows).
    void SetOpen(bool open);
    void Toggle() { SetOpen(!IsOpen()); }

    QWidget* panel() const { return panel_; }
    const QList<SkinKey*>& keys() const { return keys_; }

private:
    bool HoldsFocus() const;

    QWidget* panel_;
    SkinPicture* lid_;
    SkinPicture* openedLid_;
    QList<SkinKey*> keys_;
};
