// Writes the README's pictures of the deck controller and of an Auto Rec at work, in one
// language: clipwright-deck-screenshots LANGUAGE OUTPUT_FOLDER. The whole program runs on the
// demo bench, simulated in this process, which puts the decks into the pictured states: the
// player playing, the recorder in record-pause, both key covers open, and the main window with
// the controller and the progress window during an Auto Rec of the demo list, and the progress
// window alone then, the verification window of the stopped run, and the device setup after a
// scan of the bench.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <functional>

#include "BenchProgram.h"
#include "QuietPrompts.h"
#include "app/AppContext.h"
#include "app/ProgramWindows.h"
#include "controller/SkinKey.h"
#include "sim/Simulator.h"

namespace {

constexpr int kRecordPause = 13, kRecord = 14, kPause = 5, kPlay = 6, kStop = 1;
constexpr int kMarginPx = 24;

int Frames30(int hours, int minutes, int seconds, int frames) {
    return ((hours * 60 + minutes) * 60 + seconds) * 30 + frames;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(10);
    }
    return true;
}

// Lets the counter and lamps follow the deck for a moment before a picture.
void Settle(int ms = 600) {
    QTest::qWait(ms);
}

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

constexpr int kTitleBarPx = 24;

// A window's picture as a desktop shows it: a soft shadow, a thin frame and, for a window with
// the system's frame, a title bar with its title. `at` is the window's own top-left corner.
void PaintWindow(QPainter& painter, QWidget& window, QPoint at, bool titleBar) {
    const QPixmap picture = window.grab();
    const QRect frame =
        QRect(at, picture.size()).adjusted(-1, titleBar ? -kTitleBarPx - 1 : -1, 0, 0);
    for (int shade = 6; shade > 0; --shade)
        painter.fillRect(frame.translated(shade, shade), QColor(0, 0, 0, 12 + 4 * (6 - shade)));
    if (titleBar) {
        const QRect bar(frame.left(), frame.top(), frame.width(), kTitleBarPx + 1);
        painter.fillRect(bar, QColor(0xe4, 0xe6, 0xea));
        painter.setPen(QColor(0x30, 0x30, 0x30));
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        // The list's folder is a temporary one: the title names the file alone.
        // The unsaved mark's place holder shows as the desktop shows it.
        const QString title =
            window.windowTitle()
                .replace(QRegularExpression(QStringLiteral("\\[.*/")), QStringLiteral("["))
                .replace(QStringLiteral("[*]"),
                         window.isWindowModified() ? QStringLiteral("*") : QString());
        painter.drawText(bar.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    }
    painter.drawPixmap(at, picture);
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

class DeckPictures {
public:
    DeckPictures(tarnsim::Simulator& simulator, SceneList& scenes, ProgramWindows& windows,
                 QDir out, QString suffix)
        : sim_(simulator),
          scenes_(scenes),
          windows_(windows),
          ctl_(windows.deck().controller()),
          out_(std::move(out)),
          suffix_(std::move(suffix)) {}

    bool PlayerPlaying() {
        // The scene label shows the row the user works on.
        scenes_.SelectOnly(2);
        ctl_.remote().SelectView(DeckRemote::View::Player);
        sim_.SetDeckPosition(1, Frames30(0, 0, 41, 12));
        sim_.SetDeckMode(1, kPlay);
        return ShowsMode(kPlay) && SaveController("controller-player-playing");
    }

    bool RecorderInRecordPause() {
        sim_.SetDeckPosition(2, Frames30(0, 12, 5, 0));
        sim_.SetDeckMode(2, kRecordPause);
        ctl_.remote().SelectView(DeckRemote::View::Recorder);
        return ShowsMode(kRecordPause) && SaveController("controller-recorder-recpause");
    }

    bool CoversOpen() {
        ctl_.remote().SelectView(DeckRemote::View::Player);
        sim_.SetDeckPosition(1, Frames30(0, 0, 44, 3));
        sim_.SetDeckMode(1, kPause);
        if (!ShowsMode(kPause))
            return false;
        Click(ctl_.picture(QStringLiteral("imgPgmCover")));
        Click(ctl_.picture(QStringLiteral("imgRecCover")));
        const bool saved = SaveController("controller-covers-open");
        Click(ctl_.picture(QStringLiteral("imgPrgOpen")));
        Click(ctl_.picture(QStringLiteral("imgRecOpen")));
        return saved;
    }

    // The main window, the controller and the progress window while the second scene of the
    // demo list is being recorded.
    bool AutoRecAtWork() {
        for (int id : {1, 2}) {
            sim_.SetDeckPosition(id, Frames30(0, 0, id == 1 ? 28 : 10, 0));
            sim_.SetDeckMode(id, kStop);
        }
        if (!ShowsMode(kStop))
            return false;
        scenes_.SelectOnly(1);
        SkinKey* autoRec = ctl_.key(QStringLiteral("btnAutoRec"));
        if (!autoRec->isEnabled())
            return false;
        autoRec->click();
        const bool recordingScene2 = WaitFor(
            [&] {
                return scenes_.current() == 2 && sim_.Device(2)->mode == kRecord &&
                       windows_.progress().isVisible();
            },
            90000);
        if (!recordingScene2)
            return false;
        Settle(1500);
        const bool saved = SaveDesktop("main-window-autorec") && SaveProgress("progress-window");
        Click(windows_.progress().findChild<QWidget*>(QStringLiteral("btnAbort")));
        return saved && WaitFor([&] { return !windows_.progress().isVisible(); });
    }

    // The check of the stopped run: what the recorder took in of the first scene.
    bool VerificationAfterStop() {
        QWidget* check = &windows_.deck().verification();
        if (!WaitFor([&] { return check->isVisible(); }))
            return false;
        Settle();
        return check->grab().save(
            out_.filePath(QStringLiteral("verification-window-%1.png").arg(suffix_)));
    }

    // The device setup opened from the Preference menu, after a scan of the bench: the camcorder
    // and the VCR found and chosen. OK keeps them.
    bool DeviceSetupScanned() {
        bool saved = false;
        QTimer poll;
        const int level = QThread::currentThread()->loopLevel();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* setup = QApplication::activeModalWidget();
            if (setup == nullptr || setup->objectName() != QLatin1String("frmTarnDev") ||
                QThread::currentThread()->loopLevel() <= level)
                return;
            poll.stop();
            Click(setup->findChild<QWidget*>(QStringLiteral("btnScan")));
            Settle();
            saved = setup->grab().save(
                out_.filePath(QStringLiteral("device-setup-scanned-%1.png").arg(suffix_)));
            Click(setup->findChild<QWidget*>(QStringLiteral("btnOk")));
        });
        poll.start(50);
        windows_.mainWindow().menus().mnuDev->trigger();
        return saved;
    }

private:
    bool ShowsMode(int mode) {
        const bool shown = WaitFor([&] { return ctl_.remote().shownMode() == mode; });
        Settle();
        return shown;
    }

    bool SaveController(const char* name) {
        return ctl_.grab().save(out_.filePath(QStringLiteral("%1-%2.png").arg(name, suffix_)));
    }

    // The progress window alone, as the desktop frames it.
    bool SaveProgress(const char* name) {
        TfrmWait& progress = windows_.progress();
        QPixmap canvas(progress.size() + QSize(2 * kMarginPx, 2 * kMarginPx + kTitleBarPx));
        canvas.fill(QColor(0x3b, 0x4a, 0x5a));
        QPainter painter(&canvas);
        PaintWindow(painter, progress, QPoint(kMarginPx, kMarginPx + kTitleBarPx), true);
        painter.end();
        return canvas.save(out_.filePath(QStringLiteral("%1-%2.png").arg(name, suffix_)));
    }

    // The main window with the controller below its right half and the progress window over
    // its list, on a desktop-coloured ground.
    bool SaveDesktop(const char* name) {
        TfrmEDS& main = windows_.mainWindow();
        TfrmWait& progress = windows_.progress();
        const QPoint mainAt(kMarginPx, kMarginPx + kTitleBarPx);
        const QPoint controllerAt(mainAt.x() + main.width() - ctl_.width() + kMarginPx,
                                  mainAt.y() + main.height() - ctl_.height() / 3);
        const QSize canvasSize(controllerAt.x() + ctl_.width() + kMarginPx,
                               controllerAt.y() + ctl_.height() + kMarginPx);
        QPixmap canvas(canvasSize);
        canvas.fill(QColor(0x3b, 0x4a, 0x5a));
        QPainter painter(&canvas);
        PaintWindow(painter, main, mainAt, true);
        PaintWindow(painter, progress,
                    mainAt + QPoint(kMarginPx * 4, main.height() / 2 - progress.height()), true);
        PaintWindow(painter, ctl_, controllerAt, false);
        painter.end();
        return canvas.save(out_.filePath(QStringLiteral("%1-%2.png").arg(name, suffix_)));
    }

    tarnsim::Simulator& sim_;
    SceneList& scenes_;
    ProgramWindows& windows_;
    TfrmAvCtl& ctl_;
    QDir out_;
    QString suffix_;
};

int Fail(const QString& what) {
    QTextStream(stderr) << "clipwright-deck-screenshots: " << what << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: clipwright-deck-screenshots 9|17 OUTPUT_FOLDER\n";
        return 2;
    }
    const int language = args[1].toInt();
    QDir().mkpath(args[2]);

    QString error;
    const auto bench = ReadBench(QStringLiteral(DEMO_BENCH_PATH), &error);
    if (!bench)
        return Fail(QStringLiteral("demo bench: ") + error);
    tarnsim::Simulator simulator(*bench);
    std::string startError;
    if (!simulator.Start(&startError))
        return Fail(QString::fromStdString(startError));

    QTemporaryDir home;
    const QString resources = QApplication::applicationDirPath();
    AppContext context(ProgramFolder(home.path(), {resources}), language, home.path());
    ConfigureForBench(context, QString::fromStdString(simulator.SlavePath()));
    QuietPrompts prompts;
    ProgramWindows windows(context, prompts,
                           QDir(resources).filePath(QStringLiteral("demo/demo.cwf")));
    TfrmEDS& main = windows.mainWindow();
    main.show();
    if (!WaitFor([&] { return main.firstShowDone(); }))
        return Fail(QStringLiteral("the main window did not finish its first show"));
    main.resize(820, 440);
    main.OpenController();
    TfrmAvCtl& controller = windows.deck().controller();
    if (!WaitFor([&] { return controller.isVisible() && controller.remote().transportOn(); }))
        return Fail(QStringLiteral("the controller did not connect to the demo player"));

    DeckPictures pictures(simulator, context.scenes(), windows, QDir(args[2]),
                          language == 17 ? QStringLiteral("ja") : QStringLiteral("en"));
    if (!pictures.PlayerPlaying())
        return Fail(QStringLiteral("the player did not show play"));
    if (!pictures.RecorderInRecordPause())
        return Fail(QStringLiteral("the recorder did not show record-pause"));
    if (!pictures.CoversOpen())
        return Fail(QStringLiteral("the covers picture failed"));
    if (!pictures.AutoRecAtWork())
        return Fail(QStringLiteral("the Auto Rec did not reach the second scene"));
    if (!pictures.VerificationAfterStop())
        return Fail(QStringLiteral("no verification window after the stopped Auto Rec"));
    if (!pictures.DeviceSetupScanned())
        return Fail(QStringLiteral("the device setup did not scan the bench"));
    return 0;
}
