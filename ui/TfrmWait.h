// The progress window: a small "Please wait..." box with an optional gauge and Stop button,
// shown while the program is busy with a long deck operation. While it shows, the main window
// and the controller are disabled, so Stop is the only thing the user can do, and Stop is its
// only way out: closing it from the window manager counts as Stop, or is refused without one. The
// editing engine drives it from the link thread through PostShow and PostClose; the windows that
// post a long job to the link (the bus scan, the deck measurement) show it and move its gauge
// from their answers on the GUI thread. The stop request can be read from any thread.
#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>

class CaptionTable;
class QLabel;
class QFrame;
class QProgressBar;
class QPushButton;

class TfrmWait : public QWidget {
    Q_OBJECT

public:
    // Flags of PostShow.
    static constexpr int kStopVisible = 1;   // the Stop button shows
    static constexpr int kGaugeVisible = 2;  // the gauge shows, reset to 0
    static constexpr int kStopDisabled = 4;  // Stop shows greyed until a show without this flag

    explicit TfrmWait(const CaptionTable& captions, QWidget* parent = nullptr);

    // The windows disabled while this one shows (either may be none). Not owned.
    void SetGuardedWindows(QWidget* mainWindow, QWidget* controller);

    // Any thread: queue a show with this title (a null title keeps the current one) and flags,
    // or a close. They run on the GUI thread in the order they were posted.
    void PostShow(const QString& title, int flags);
    void PostClose();
    // Any thread: where a long run stands, in place of "Please wait..." until the window closes:
    // the text (up to two lines) and the gauge at percent.
    void PostRunProgress(const QString& text, int percent);
    // Any thread: the gauge at percent.
    void PostGauge(int percent);

    // GUI thread: show at once with the gauge and Stop as asked, and move the gauge.
    void ShowDirect(const QString& title, bool gaugeVisible, bool stopVisible);
    void SetGauge(int percent);
    // Closes the window when it shows; safe at any time.
    void CloseIfVisible();

    // Any thread: Stop was pressed since the last show.
    bool StopRequested() const { return stopRequested_.load(); }

signals:
    void stopPressed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    // The designed places, the window grown to hold its text and title whole.
    void LayOut();
    int WidthForTexts() const;
    void HandleShow(const QString& title, int flags);
    void ShowRunProgress(const QString& text, int percent);
    void ShowAndRaise(const QString& title, bool gaugeVisible, bool stopVisible);
    void CentreOnScreen();
    void KeepClearOfController();
    void RestoreGuardedWindows();
    // Ends the wait: the guarded windows get their states back and the window hides.
    void Finish();
    void btnAbortClick();

    QLabel* lblWait_ = nullptr;
    QString waitText_;  // lblWait's own caption, shown again when the window closes
    QLabel* image1_ = nullptr;
    QFrame* panel1_ = nullptr;
    QProgressBar* gauge1_ = nullptr;
    QPushButton* btnAbort_ = nullptr;

    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> controller_;
    bool mainWasEnabled_ = true;
    bool controllerWasEnabled_ = true;
    bool guarding_ = false;  // a show took the windows' enabled states that a close gives back
    std::atomic<bool> stopRequested_{false};
};
