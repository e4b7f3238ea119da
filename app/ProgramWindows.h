// The program's windows over the shared objects, created in their start-up order and wired to
// each other: the main window, the title window, the progress window, the options, the scene
// correction, the device setup, the link monitor, the deck controller with its engine, and the
// Resume Auto Rec command. The program shows the main window and runs the event loop; tools that
// run the whole program (the GUI benchmark, the screenshots) build the same set.
#pragma once

#include <QString>
#include <vector>

#include "app/ControllerWiring.h"
#include "app/DeckMeasurement.h"
#include "app/ResumeAutoRecCommand.h"
#include "app/SaveDiagnosticsCommand.h"
#include "app/TfrmEDS.h"
#include "ui/TfrmCrct.h"
#include "ui/TfrmMonitor.h"
#include "ui/TfrmOption.h"
#include "ui/TfrmTarnDev.h"
#include "ui/TfrmTitle.h"
#include "ui/TfrmWait.h"

class AppContext;
class UserPrompts;

class ProgramWindows {
public:
    // commandLineFile: the project to open at the main window's first show (empty: none).
    ProgramWindows(AppContext& context, UserPrompts& prompts, const QString& commandLineFile);
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TfrmEDS& mainWindow() { return mainWindow_; }
    TfrmWait& progress() { return progress_; }
    ControllerWiring& deck() { return deck_; }
    ResumeAutoRecCommand& resume() { return resume_; }
    TfrmTitle& title() { return title_; }
    TfrmOption& options() { return options_; }
    TfrmCrct& correction() { return correction_; }
    TfrmMonitor& monitor() { return monitor_; }
    // The dialogs and tool windows that stay above the main window without being its children.
    std::vector<QWidget*> OwnedWindows();

private:
    TfrmEDS mainWindow_;
    TfrmTitle title_;
    TfrmWait progress_;
    TfrmOption options_;
    TfrmCrct correction_;
    TfrmTarnDev deviceSetup_;
    TfrmMonitor monitor_;
    ControllerWiring deck_;
    DeckMeasurement measurement_;
    ResumeAutoRecCommand resume_;
    SaveDiagnosticsCommand diagnostics_;
};
