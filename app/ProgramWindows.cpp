#include "app/ProgramWindows.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "config/GuardNote.h"
#include "ui/WindowOwner.h"

ProgramWindows::ProgramWindows(AppContext& context, UserPrompts& prompts,
                               const QString& commandLineFile)
    : mainWindow_(context, prompts),
      title_(context.captions(), context.programFolder(), context.settings()),
      progress_(context.captions()),
      options_(context.options(), context.settings(), context.captions()),
      correction_(context.captions(), context.settings()),
      deviceSetup_(context.deviceSetup(), context.settings(), context.captions()),
      deck_(context, mainWindow_, prompts, progress_, deviceSetup_),
      measurement_(context.bus().link(), context.bus().clock(), context.devices(),
                   context.captions(), prompts, progress_),
      resume_(context, mainWindow_, deck_, prompts),
      diagnostics_(mainWindow_, context, deck_, prompts) {
    measurement_.SetTapeGuard(&context.bus().guard());
    // The program disables the main window while it waits; its dialogs and tool windows are
    // not its children, so that disabling never reaches them.
    for (QWidget* window : OwnedWindows())
        KeepAboveOwner(window, &mainWindow_);
    mainWindow_.SetTitleWindow(&title_);
    mainWindow_.SetProgressWindow(&progress_);
    mainWindow_.SetCorrectionDialog(&correction_);
    // The progress window of a bus scan holds both windows behind it, as an Auto Rec's does.
    deviceSetup_.SetProgressWindow(&progress_);
    deviceSetup_.SetGuardedWindows(&mainWindow_, &deck_.controller());
    monitor_.SetLink(&context.bus().link());
    options_.SetMeasure([this](const TfrmOption::FillFields& fill, std::function<void()> ended) {
        measurement_.Run(&options_, fill, std::move(ended));
    });
    mainWindow_.SetSetupWindows(&options_, &deviceSetup_, &monitor_);
    mainWindow_.SetCommandLineFile(commandLineFile);
    mainWindow_.AttachController(&deck_.controller());
    // What the tape guard did after the program's unexpected end is told once, when the main
    // window stands on the screen.
    QObject::connect(
        &mainWindow_, &TfrmEDS::firstShowFinished, &mainWindow_,
        [this, &context, &prompts] {
            const CaptionTable& captions = context.captions();
            if (const std::optional<GuardNote> note =
                    GuardNote::Take(context.programFolder().Path()))
                prompts.ShowWarning(&mainWindow_, captions.CaptionText(QStringLiteral("TI_MAIN")),
                                    note->Text(captions));
        },
        Qt::QueuedConnection);
    // Ctrl+Z and Ctrl+Y also work while the controller is the active window.
    const MainMenus& menus = mainWindow_.menus();
    deck_.controller().addActions({menus.mnuUndo, menus.mnuRedo});
}

std::vector<QWidget*> ProgramWindows::OwnedWindows() {
    return {&title_,   &progress_,           &options_, &correction_, &deviceSetup_,
            &monitor_, &deck_.verification()};
}
