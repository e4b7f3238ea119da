// One key of the controller's skin: a flat button drawn from its pictures (normal, pressed,
// greyed, and for lamp keys lit and unlit, with the play key's reverse forms). A lamp is only
// redrawn when its state changes. A key greys when it or its window is off; a lit lamp of a key
// that is on itself keeps shining in a disabled window. With the focus, the key is ringed in the
// skin's focus colour, and Space or Enter press it as the mouse does.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPushButton>

class ControllerSkin;

class SkinKey : public QPushButton {
    Q_OBJECT

public:
    SkinKey(const QString& objectName, const ControllerSkin& skin, QWidget* parent);

    void SetLit(bool lit);
    // The play key's reverse-play picture (its lamp then shows reverse play).
    void SetReversed(bool reversed);
    bool IsLit() const { return lit_; }
    bool IsReversed() const { return reversed_; }
    bool HasLamp() const { return !litPicture_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QPixmap CurrentPicture() const;

    QPixmap normal_, down_, disabled_, litPicture_, reverse_, reverseLit_;
    QColor focusColour_;
    bool lit_ = false;
    bool reversed_ = false;
};
