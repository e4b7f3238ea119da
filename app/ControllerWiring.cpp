#include "app/ControllerWiring.h"

#include <QDialog>
#include <QDir>

#include <utility>

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "config/EditOptions.h"
#include "config/FileFolders.h"
#include "engine/RunSummary.h"
#include "ui/TfrmWait.h"
#include "ui/WindowPositions.h"

ControllerWiring::ControllerWiring(AppContext& context, QWidget& mainWindow, UserPrompts& prompts,
                                   TfrmWait& progress, QDialog& deviceSetupDialog)
    : context_(context),
      mainWindow_(mainWindow),
      prompts_(prompts),
      progress_(progress),
      setupDialog_(deviceSetupDialog),
      sounds_(context.programFolder()),
      controller_(ControllerParts{context.bus().comm(), context.bus().link(), context.bus().vtr(),
                                  context.bus().sys(), context.bus().clock(), context.scenes(),
                                  context.history(), *this, context.captions(),
                                  context.programFolder(), context.settings(), sounds_},
                  &mainWindow),
      verification_(context.options(), context.settings(), context.captions()),
      host_(controller_, context.scenes(), *this, sounds_, HostWindows()),
      engine_(context.bus().link(), context.bus().vtr(), context.effects(), context.bus().clock(),
              context.captions(), host_) {
    engine_.SetTapeGuard(&context.bus().guard());
    // The progress window also keeps the controller waiting while it shows.
    progress_.SetGuardedWindows(&mainWindow, &controller_);
    host_.SetMainWindow(&mainWindow);
    controller_.SetMainWindow(&mainWindow);
    const SettingsFile& settings = context.settings();
    controller_.SetPlacement(
        [&settings, &mainWindow](QWidget* w) { RestorePositionBeside(w, &mainWindow, settings); },
        [&settings](QWidget* w) { SavePosition(w, settings); });
    resumePoint_ = LoadResumePoint(settings);
    verification_.SetPrompts(VerificationPrompts());
    controller_.SetOperations([this](AutoKind kind) { engine_.AutoStart(kind); },
                              [this] { engine_.ReadRecorderPosition(); });
}

ControllerWiring::~ControllerWiring() {
    controller_.SetOperations({}, {});
    context_.bus().vtr().StopPolling();
}

EngineHostWindows ControllerWiring::HostWindows() {
    EngineHostWindows windows;
    windows.UseProgressWindow(progress_);
    // The boxes belong to the application window, whatever window is in front.
    windows.information = [this](const QString& title, const QString& text) {
        prompts_.ShowInformation(&mainWindow_, title, text);
    };
    windows.warning = [this](const QString& title, const QString& text) {
        prompts_.ShowWarning(&mainWindow_, title, text);
    };
    windows.confirmTapeChange = [this](const QString& title, const QString& text) {
        return prompts_.AskOkOrStop(&mainWindow_, title, text,
                                    context_.captions().CaptionText(QStringLiteral("BTN_STOP")));
    };
    windows.options = [this] {
        const EditOptions& options = context_.options();
        AutoOptions taken{options.inCorrection(),    options.outCorrection(),
                          options.searchDistance(),  options.preRollFrames(),
                          options.playerPauseLead(), options.recorderPauseLead()};
        taken.retakeAttempts = options.retakeAttempts();
        taken.retakeTolerance = options.retakeTolerance();
        taken.quickCue = options.quickCue();
        return taken;
    };
    windows.keepResumePoint = [this](const ResumePoint& point) { KeepResumePoint(point); };
    windows.verification = [this](const VerificationReport& report) {
        lastRunSummary_ = RunSummaryText(report, context_.captions());
        verification_.ShowReport(report);
    };
    return windows;
}

TfrmVerify::Prompts ControllerWiring::VerificationPrompts() {
    TfrmVerify::Prompts prompts;
    prompts.askYesNo = [this](QWidget* parent, const QString& title, const QString& text) {
        return prompts_.AskYesNo(parent, title, text);
    };
    prompts.warning = [this](QWidget* parent, const QString& title, const QString& text) {
        prompts_.ShowWarning(parent, title, text);
    };
    prompts.chooseSaveFile = [this](QWidget* parent, const QString& name, const QString& filter) {
        const SettingsFile& settings = context_.settings();
        const QString chosen = prompts_.ChooseSaveFile(
            parent, LastFolder(settings, FileKind::Report, QDir::homePath()), name, filter);
        if (!chosen.isEmpty())
            KeepLastFolder(settings, FileKind::Report, chosen);
        return chosen;
    };
    return prompts;
}

void ControllerWiring::KeepResumePoint(const ResumePoint& point) {
    resumePoint_ = point;
    const bool stored = StoreResumePoint(context_.settings(), point);
    // The point is kept after every scene: the user hears once that it no longer reaches the
    // file, and again only after a write went through in between.
    if (std::exchange(resumePointStored_, stored) && !stored) {
        const CaptionTable& captions = context_.captions();
        prompts_.ShowWarning(&mainWindow_, captions.CaptionText(QStringLiteral("TI_MAIN")),
                             captions.CaptionText(QStringLiteral("MSG_RESUME_UNSAVED"))
                                 .arg(QDir::toNativeSeparators(context_.settings().iniPath())));
    }
}

int ControllerWiring::PlayerId() const {
    return context_.devices().playerId;
}

int ControllerWiring::RecorderId() const {
    return context_.devices().recorderId;
}

bool ControllerWiring::UseEditTerminal() const {
    return context_.devices().useEditTerminal;
}

bool ControllerWiring::PlayerHasEffects() const {
    const DeviceRecord* player = context_.devices().Player();
    return player != nullptr && TarnSys::SupportsEffectCommands(*player);
}

bool ControllerWiring::LoadAndFindPlayer() {
    // Loading opens the stored port and asks every known device whether it is there.
    context_.deviceSetup().LoadDeviceSettings();
    return !context_.devices().devices.empty() &&
           context_.devices().FindDevice(context_.devices().playerId) >= 0;
}

void ControllerWiring::ShowDeviceSetup() {
    setupDialog_.exec();
}
