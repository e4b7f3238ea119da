// The main window's controller button pnlCtl: a 54 x 54 panel with the remote-control picture
// imgCtl, which rises when the pointer is over it and sinks while pressed. A click opens the
// deck controller.
#pragma once

#include <QFrame>
#include <QPixmap>

class QLabel;
class ProgramFolder;

class ControllerButton : public QFrame {
    Q_OBJECT

public:
    static constexpr int kSize = 54;

    ControllerButton(const ProgramFolder& folder, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Look { Normal, Hover, Pressed };
    void Show(Look look);

    QLabel* image_;
    QPixmap normal_;
    QPixmap hover_;
    QPixmap pressed_;
    bool pressedDown_ = false;
};
