// One button of the effect toolbar: a flat panel holding the picture of its effect or transition.
// It draws itself raised under the pointer, sunken while pressed, and from the greyed picture
// when the player cannot do its effect; an unavailable button neither presses, highlights nor
// reports clicks. Mouse events on the picture count as events on the button.
#pragma once

#include <QFrame>
#include <QIcon>

class QLabel;

class EffectButton : public QFrame {
    Q_OBJECT

public:
    static constexpr int kHeight = 20;

    explicit EffectButton(QWidget* toolbarPanel);

    // Places the button and gives it its code (effect 0..5 or transition 100..117) and hint.
    void Setup(QPoint topLeft, int width, int code, const QString& hint);
    // Shows the picture of the code; available decides between the normal and greyed one and
    // whether the button reacts.
    void ShowPicture(const QIcon& picture, bool available);

    int code() const { return code_; }
    bool isAvailable() const { return available_; }
    bool isPressedDown() const { return pressed_; }
    QLabel* picture() const { return picture_; }
    // The face without bevel, raised (under the pointer) or sunken (pressed).
    void SetRaised(bool raised);
    // Applies the button's code as a click does, if the button is available (the press action
    // of assistive technologies).
    void Activate();

signals:
    // The pointer moved over the button or its picture.
    void hovered(EffectButton* button);
    // An available button was pressed and released over itself with the primary button.
    void clicked(int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Press();
    // `onButton`: where the mouse was released, in the button's coordinates.
    void Release(const QMouseEvent& event, QPoint onButton);
    void PlacePicture();

    QLabel* picture_;
    QIcon icon_;
    int code_ = 0;
    bool available_ = true;
    bool pressed_ = false;
};
