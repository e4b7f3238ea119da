// Writes the README's pictures of the main window with the demo list and of the about box, in
// one language: clipwright-screenshots LANGUAGE OUTPUT_FOLDER. Runs on any Qt platform
// (offscreen too), since it paints the windows into pictures itself.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/AppContext.h"
#include "app/TfrmEDS.h"
#include "app/UserPrompts.h"
#include "ui/EffectToolbar.h"
#include "ui/TfrmTitle.h"

namespace {

// Nothing is asked while the pictures are made; any question would be a fault of the demo.
class SilentPrompts : public UserPrompts {
public:
    bool AskYesNo(QWidget*, const QString&, const QString& text) override {
        QTextStream(stderr) << "unexpected question: " << text << "\n";
        return false;
    }
    YesNoAnswer AskYesNoOrCancel(QWidget* parent, const QString& title,
                                 const QString& text) override {
        return AskYesNo(parent, title, text) ? YesNoAnswer::Yes : YesNoAnswer::Cancelled;
    }
    void ShowWarning(QWidget*, const QString&, const QString& text) override {
        QTextStream(stderr) << "unexpected warning: " << text << "\n";
    }
    void ShowInformation(QWidget*, const QString&, const QString&) override {}
    bool AskOkOrStop(QWidget* parent, const QString& title, const QString& text,
                     const QString&) override {
        return AskYesNo(parent, title, text);
    }
    QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

void RunSplashToItsEnd(TfrmTitle& title) {
    title.show();
    title.Timer1Timer();
    while (title.isVisible())
        title.Timer2Timer();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: clipwright-screenshots 9|17 OUTPUT_FOLDER\n";
        return 2;
    }
    const int language = args[1].toInt();
    const QString suffix = language == 17 ? QStringLiteral("ja") : QStringLiteral("en");
    QDir().mkpath(args[2]);
    const QDir out(args[2]);
    QTemporaryDir home;
    const QString resources = QApplication::applicationDirPath();
    AppContext context(ProgramFolder(home.path(), {resources}), language, home.path());
    context.settings().WriteInteger(QStringLiteral("Setup"), QStringLiteral("FrameMode"), 1);
    // Player 1 of model 1240 (supplied capability file): every effect toolbar button available.
    context.settings().WriteInteger(settings_keys::kCode, 1240);
    context.deviceStore().WriteInt(QStringLiteral("INIT"), QStringLiteral("CurID"), 1);

    SilentPrompts prompts;
    TfrmEDS window(context, prompts);
    window.SetCommandLineFile(QDir(resources).filePath(QStringLiteral("demo/demo.cwf")));
    window.show();
    while (!window.firstShowDone())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    // The first show restores the stored (here: default) position; the pictures want a window
    // wide enough for every column and both toolbar rows.
    window.resize(820, 440);
    context.scenes().SelectOnly(2);
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("main-window-%1.png").arg(suffix)));
    window.grab().save(out.filePath(QStringLiteral("effect-toolbar-available-%1.png").arg(suffix)));
    // Model 870 cannot do the overlap transitions nor Mosaic: those buttons are greyed.
    context.capabilities().SetModelCode(870);
    context.capabilities().Load();
    window.effectToolbar()->RefreshAll();
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("effect-toolbar-greyed-%1.png").arg(suffix)));

    TfrmTitle title(context.captions(), context.programFolder(), context.settings());
    RunSplashToItsEnd(title);
    title.show();
    QApplication::processEvents();
    title.grab().save(out.filePath(QStringLiteral("about-%1.png").arg(suffix)));
    title.done(0);
    return 0;
}
