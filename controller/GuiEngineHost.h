// The editing engine's host in the program: what the engine shows and asks reaches the windows
// here. The engine calls it on the GUI thread only (its bridge queues the calls it makes on the
// link thread), except StopRequested, which the progress window answers from any thread.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "engine/EngineHost.h"

class ControllerDevices;
class SceneList;
class SoundPlayer;
class TfrmAvCtl;
class TfrmWait;

// The parts of the program the host reaches through the main program's windows: the progress
// window, the message boxes and the editing options.
struct EngineHostWindows {
    std::function<void(const QString& title, int flags)> showProgress;
    std::function<void()> closeProgress;
    std::function<void(const QString& text, int percent)> showRunProgress;
    std::function<bool()> stopRequested;  // any thread
    // Modal boxes owned by the application window: information (OK) and warning (OK).
    std::function<void(const QString& title, const QString& text)> information;
    std::function<void(const QString& title, const QString& text)> warning;
    // The tape-change box: true when the user says the tape is changed, false for Stop.
    std::function<bool(const QString& title, const QString& text)> confirmTapeChange;
    std::function<AutoOptions()> options;
    std::function<void(const ResumePoint&)> keepResumePoint;
    // The verification report of an Auto Rec, shown at its end.
    std::function<void(const VerificationReport&)> verification;

    // The progress window's part: shows and closes queued to it (the engine may call from the
    // link thread), the stop request read from it.
    void UseProgressWindow(TfrmWait& progress);
};

class GuiEngineHost : public EngineHost {
public:
    GuiEngineHost(TfrmAvCtl& controller, SceneList& scenes, ControllerDevices& devices,
                  SoundPlayer& sounds, EngineHostWindows windows);

    // The main window, enabled again at the end of an operation (none in tests without one).
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    AutoDevices Devices() const override;
    AutoOptions Options() const override;
    const SceneList& Scenes() const override;
    void ShowProgress(const QString& title, int flags) override;
    void CloseProgress() override;
    void ShowRunProgress(const RunProgress& progress, const QString& text) override;
    bool StopRequested() const override;
    bool ConfirmTapeChange(const QString& title, const QString& text) override;
    void ShowVerification(const VerificationReport& report) override;
    void ShowFinalMessage(const QString& title, const QString& text, bool success) override;
    void KeepResumePoint(const ResumePoint& point) override;
    void SelectRow(int i) override;
    void ShowRecorderRecording() override;
    void SetArrowFlashing(bool on) override;
    void EnableAutoRec() override;
    void EnableReview() override;
    void EnableWindows() override;
    int CurrentView() const override;
    void SelectView(int view) override;
    void PlayBeep() override;

private:
    TfrmAvCtl& controller_;
    SceneList& scenes_;
    ControllerDevices& devices_;
    SoundPlayer& sounds_;
    EngineHostWindows windows_;
    QPointer<QWidget> mainWindow_;
};
