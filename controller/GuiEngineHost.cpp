#include "controller/GuiEngineHost.h"

#include <cstdio>

#include "engine/StopSignals.h"

#include "controller/ControllerDevices.h"
#include "controller/SoundPlayer.h"
#include "controller/TfrmAvCtl.h"
#include "edit/SceneList.h"
#include "ui/TfrmWait.h"

void EngineHostWindows::UseProgressWindow(TfrmWait& progress) {
    showProgress = [&progress](const QString& title, int flags) {
        progress.PostShow(title, flags);
    };
    closeProgress = [&progress] { progress.PostClose(); };
    showRunProgress = [&progress](const QString& text, int percent) {
        progress.PostRunProgress(text, percent);
    };
    stopRequested = [&progress] { return progress.StopRequested(); };
}

GuiEngineHost::GuiEngineHost(TfrmAvCtl& controller, SceneList& scenes, ControllerDevices& devices,
                             SoundPlayer& sounds, EngineHostWindows windows)
    : controller_(controller),
      scenes_(scenes),
      devices_(devices),
      sounds_(sounds),
      windows_(std::move(windows)) {}

AutoDevices GuiEngineHost::Devices() const {
    return {devices_.PlayerId(), devices_.RecorderId(), devices_.UseEditTerminal(),
            devices_.PlayerHasEffects()};
}

AutoOptions GuiEngineHost::Options() const {
    return windows_.options ? windows_.options() : AutoOptions{};
}

const SceneList& GuiEngineHost::Scenes() const {
    return scenes_;
}

void GuiEngineHost::ShowProgress(const QString& title, int flags) {
    if (windows_.showProgress)
        windows_.showProgress(title, flags);
}

void GuiEngineHost::CloseProgress() {
    if (windows_.closeProgress)
        windows_.closeProgress();
}

void GuiEngineHost::ShowRunProgress(const RunProgress& progress, const QString& text) {
    if (windows_.showRunProgress)
        windows_.showRunProgress(text, progress.percent);
}

bool GuiEngineHost::StopRequested() const {
    return windows_.stopRequested && windows_.stopRequested();
}

bool GuiEngineHost::ConfirmTapeChange(const QString& title, const QString& text) {
    // When the program is asked to end, nobody is there to change the tape: the run stops.
    // The user's Stop on the box ends the run as the progress window's Stop does.
    if (stopsignals::Received() != 0 || !windows_.confirmTapeChange)
        return false;
    const bool goOn = windows_.confirmTapeChange(title, text);
    return goOn && stopsignals::Received() == 0;
}

void GuiEngineHost::ShowVerification(const VerificationReport& report) {
    if (windows_.verification)
        windows_.verification(report);
}

void GuiEngineHost::ShowFinalMessage(const QString& title, const QString& text, bool success) {
    // The program is ending on a signal: a box would hold the end for an answer nobody gives.
    if (stopsignals::Received() != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    const auto& show = success ? windows_.information : windows_.warning;
    if (show)
        show(title, text);
}

void GuiEngineHost::KeepResumePoint(const ResumePoint& point) {
    if (windows_.keepResumePoint)
        windows_.keepResumePoint(point);
}

void GuiEngineHost::SelectRow(int i) {
    scenes_.SelectOnly(i);
}

void GuiEngineHost::ShowRecorderRecording() {
    controller_.ShowRecorderRecording();
}

void GuiEngineHost::SetArrowFlashing(bool on) {
    controller_.SetArrowFlashing(on);
}

void GuiEngineHost::EnableAutoRec() {
    controller_.EnableAutoRec();
}

void GuiEngineHost::EnableReview() {
    controller_.EnableReview();
}

void GuiEngineHost::EnableWindows() {
    controller_.setEnabled(true);
    if (mainWindow_)
        mainWindow_->setEnabled(true);
}

int GuiEngineHost::CurrentView() const {
    return static_cast<int>(controller_.remote().view());
}

void GuiEngineHost::SelectView(int view) {
    controller_.remote().SelectView(static_cast<DeckRemote::View>(view));
}

void GuiEngineHost::PlayBeep() {
    sounds_.Play(Sound::PreviewBeep);
}
