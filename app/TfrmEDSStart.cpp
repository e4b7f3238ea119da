#include "app/TfrmEDS.h"

// The main window's start: the title window alone, then the first show, which reads the settings,
// opens the stored port, clears the list, opens the command-line file, reopens the controller
// when it was open at the last close and builds the effect toolbar from the player's abilities.
#include <QApplication>
#include <QTimer>

#include "app/AppContext.h"
#include "controller/TfrmAvCtl.h"
#include "config/FrameModeSetting.h"
#include "config/SettingsKeys.h"
#include "devices/DeviceSetupEffects.h"
#include "ui/EffectToolbar.h"
#include "ui/SceneListView.h"
#include "ui/WindowPositions.h"

void TfrmEDS::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstShowStarted_)
        return;
    firstShowStarted_ = true;
    // Shown without ShowAtStart (tools, tests): the splash and the settings follow the show.
    QTimer::singleShot(0, this, [this] {
        if (title_)
            title_->exec();
        FormShow();
    });
}

void TfrmEDS::ShowAtStart() {
    // The title window shows alone first; then this window shows once, in its place and with
    // the list filled, instead of appearing empty and jumping there.
    firstShowStarted_ = true;
    if (title_)
        title_->exec();
    FormShow();
    show();
}

void TfrmEDS::FormShow() {
    document_.ReadDefaultFolder();
    // The options split the pre-roll by the frame rate in force at start-up.
    context_.options().LoadOptions(context_.settings(), ReadFrameMode());
    // Opens the stored port and finds out which of the known devices are there.
    context_.deviceSetup().LoadDeviceSettings();
    context_.scenes().ClearList();
    context_.history().Clear();
    RestorePosition(this, context_.settings());
    setAcceptDrops(true);
    // The list takes the Up and Down keys.
    list_->setFocus();
    if (!commandLineFile_.isEmpty())
        document_.OpenAsDropped(commandLineFile_);
    int32_t controllerWasOpen = 0;
    if (controller_ &&
        context_.settings().ReadInteger(settings_keys::kVtrWindow, &controllerWasOpen) &&
        controllerWasOpen == 1) {
        // The controller comes back a moment after this window shows; meanwhile it waits.
        setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        tmCtl_.start();
    }
    // What the last chosen player can do, then the buttons that show it.
    LoadEffectsAtStart(context_.capabilities(), context_.settings(),
                       StoredPlayerId(context_.deviceStore(), context_.settings()));
    effectToolbar_->CreateButtons();
    menus_.mnuMoni->setVisible(context_.debugMode());
    firstShowDone_ = true;
    emit firstShowFinished();
}

int TfrmEDS::ReadFrameMode() {
    const uint32_t mode = ReadFrameModeSetting(context_.settings(), *this);
    context_.scenes().SetTimecodeMode(mode);
    return static_cast<int>(mode);
}
