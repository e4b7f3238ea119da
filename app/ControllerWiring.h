// The deck controller in the program, built once at start-up over the shared link and device
// configuration: the controller window, the sounds and the editing engine with
// its host in the windows (progress window, message boxes). It answers the controller's
// questions about the chosen devices from the device setup.
#pragma once

#include "control/AutoEngine.h"
#include "control/ControllerDevices.h"
#include "control/GuiEngineHost.h"
#include "control/SoundPlayer.h"
#include "control/TfrmAvCtl.h"

class AppContext;
class QDialog;
class QWidget;
class TfrmWait;

class ControllerWiring : public ControllerDevices {
public:
    ControllerWiring(AppContext& context, QWidget& mainWindow, TfrmWait& progress,
                     QDialog& deviceSetupDialog);
    ~ControllerWiring() override;

    TfrmAvCtl& controller() { return controller_; }
    AutoEngine& engine() { return engine_; }

    // ControllerDevices
    int PlayerId() const override;
    int RecorderId() const override;
    bool UseEditTerminal() const override;
    bool PlayerHasEffects() const override;
    bool LoadAndFindPlayer() override;
    void ShowDeviceSetup() override;

private:
    EngineHostWindows HostWindows();

    AppContext& context_;
    QWidget& mainWindow_;
    TfrmWait& progress_;
    QDialog& setupDialog_;
    SoundPlayer sounds_;
    TfrmAvCtl controller_;
    GuiEngineHost host_;
    AutoEngine engine_;
};
