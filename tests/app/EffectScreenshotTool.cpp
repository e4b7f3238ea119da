// Writes pictures of the main window's effect toolbar for the README: with a player that can do
// everything, and with one that cannot do some effects and transitions (greyed buttons).
// Usage: clipwright-effect-screenshots OUTPUT_FOLDER. Runs offscreen as well.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/AppContext.h"
#include "app/TfrmEDS.h"
#include "app/UserPrompts.h"
#include "ui/EffectToolbar.h"

namespace {

class SilentPrompts : public UserPrompts {
public:
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void ShowWarning(QWidget*, const QString&, const QString& text) override {
        QTextStream(stderr) << "unexpected warning: " << text << "\n";
    }
    void ShowInformation(QWidget*, const QString&, const QString&) override {}
    QString ChooseOpenFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: clipwright-effect-screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    QDir().mkpath(args[1]);
    const QDir out(args[1]);
    QTemporaryDir home;
    const QString resources = QApplication::applicationDirPath();
    AppContext context(ProgramFolder(home.path(), {resources}), 9, home.path());
    context.settings().WriteInteger(QStringLiteral("Setup"), QStringLiteral("FrameMode"), 1);
    // Model 1240 of the supplied capability file can do everything.
    context.settings().WriteInteger(settings_keys::kCode, 1240);
    context.deviceStore().WriteInt(QStringLiteral("INIT"), QStringLiteral("CurID"), 1);

    SilentPrompts prompts;
    TfrmEDS window(context, prompts);
    window.SetCommandLineFile(QDir(resources).filePath(QStringLiteral("demo/demo.cwf")));
    window.resize(760, 420);
    window.show();
    while (!window.firstShowDone())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    context.scenes().SelectOnly(2);
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("effect-toolbar-available.png")));

    // Model 870: no overlap transitions and no Mosaic.
    context.capabilities().SetModelCode(870);
    context.capabilities().Load();
    window.effectToolbar()->RefreshAll();
    QApplication::processEvents();
    window.grab().save(out.filePath(QStringLiteral("effect-toolbar-greyed.png")));
    return 0;
}
