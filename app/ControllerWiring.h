// The deck controller in the program. It builds the controller window, its sounds, the editing
// engine and the engine's host; everything else it works over is shared and made elsewhere: the
// link, the device configuration with its setup session and the effect unit belong to the
// application context, and the program's windows hand in the progress window, the device setup
// dialog and the user prompts that show the engine's messages. It answers the controller's
// questions about the chosen devices from the device configuration.
#pragma once

#include "controller/ControllerDevices.h"
#include "controller/GuiEngineHost.h"
#include "controller/SoundPlayer.h"
#include "controller/TfrmAvCtl.h"
#include "engine/AutoEngine.h"
#include "ui/TfrmVerify.h"

class AppContext;
class QDialog;
class QWidget;
class TfrmWait;
class UserPrompts;

class ControllerWiring : public ControllerDevices {
public:
    ControllerWiring(AppContext& context, QWidget& mainWindow, UserPrompts& prompts,
                     TfrmWait& progress, QDialog& deviceSetupDialog);
    ~ControllerWiring() override;

    TfrmAvCtl& controller() { return controller_; }
    AutoEngine& engine() { return engine_; }
    // What the recorder took in, shown at the end of every Auto Rec.
    TfrmVerify& verification() { return verification_; }
    // Where the last Auto Rec that stopped or failed can go on (empty: nowhere), as kept in the
    // settings when the program started and since.
    const ResumePoint& resumePoint() const { return resumePoint_; }
    // The last Auto Rec's ending and verification (RunSummaryText), for the diagnostics file;
    // empty before one reported.
    const QString& LastRunSummary() const { return lastRunSummary_; }

    // ControllerDevices
    int PlayerId() const override;
    int RecorderId() const override;
    bool UseEditTerminal() const override;
    bool PlayerHasEffects() const override;
    bool LoadAndFindPlayer() override;
    void ShowDeviceSetup() override;

private:
    EngineHostWindows HostWindows();
    TfrmVerify::Prompts VerificationPrompts();
    void KeepResumePoint(const ResumePoint& point);

    AppContext& context_;
    QWidget& mainWindow_;
    UserPrompts& prompts_;
    TfrmWait& progress_;
    QDialog& setupDialog_;
    SoundPlayer sounds_;
    TfrmAvCtl controller_;
    // What the recorder took in, shown at the end of every Auto Rec.
    TfrmVerify verification_;
    GuiEngineHost host_;
    AutoEngine engine_;
    // Where the last Auto Rec can be resumed; the settings file holds it across program runs.
    ResumePoint resumePoint_;
    // Whether the last write of the resume point reached the settings file.
    bool resumePointStored_ = true;
    QString lastRunSummary_;
};
