// One picture of the controller's skin (panel, deck pictures, arrow, lamps, dial, covers). It
// keeps its colours while the window is disabled, as the keys do: the progress window holds the
// controller disabled during a timed operation, and the deck pictures and the arrow are what
// show that operation's progress. A picture disabled on its own (the dial without a deck) is
// drawn greyed.
#pragma once

#include <QLabel>

class SkinPicture : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
