// One picture of the controller's skin (panel, deck pictures, arrow, lamps, dial, covers). It
// keeps its colours while the window is disabled, as the keys do: the progress window holds the
// controller disabled during a timed operation, and the deck pictures and the arrow are what
// show that operation's progress. A picture disabled on its own (the dial without a deck) is
// drawn greyed. The pictures that act on a click (decks, covers, dial) also take the keyboard's
// focus by Tab, framed while they have it, and Space or Enter clicks them (Enter only, for a
// picture that Space must not press).
#pragma once

#include <QColor>
#include <QLabel>

class SkinPicture : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // A left click at the picture's centre, as the mouse makes it: the window's handlers of the
    // picture act on it. The keyboard and assistive technologies press pictures this way.
    void Press();

    // The skin's focus frame colour.
    void SetFocusColour(const QColor& colour) { focusColour_ = colour; }
    // False: Space passes the picture by, and only Enter presses it.
    void SetPressedBySpace(bool pressed) { pressedBySpace_ = pressed; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor focusColour_;
    bool pressedBySpace_ = true;
};
