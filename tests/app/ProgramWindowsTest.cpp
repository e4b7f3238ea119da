// Every dialog and window the program opens, opened the way the user opens it (its menu item,
// key or click) in the whole program as ProgramWindows wires it, on the demo bench served on a
// pseudo-terminal: the window comes up enabled with its main button enabled, also while the
// program holds the main window, and a click on that button does what it says. The device setup
// scans the bus and takes the player and the recorder from clicks. The tape guard's note from the
// last, unexpected end is shown at the start.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

#include "BenchProgram.h"
#include "ScriptedPrompts.h"
#include "app/AppContext.h"
#include "app/ProgramWindows.h"
#include "config/EditOptions.h"
#include "config/GuardNote.h"
#include "controller/SkinKey.h"
#include "devices/DeviceSettingsStore.h"
#include "sim/Simulator.h"
#include "ui/HelpWindow.h"

namespace {

constexpr int kCamcorderId = 1;
constexpr int kVcrId = 2;
constexpr int kModePlay = 6;
// How long a window may take to come up usable (a scan, a cue to the first scene).
constexpr int kGiveUpMs = 60000;

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
    return QTest::qWaitFor(done, timeoutMs);
}

// The shown top-level window of this name, or none.
QWidget* ShownWindow(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible())
            return window;
    }
    return nullptr;
}

void Click(QWidget* window, const char* button) {
    auto* key = window->findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(key, nullptr) << button;
    ASSERT_TRUE(key->isVisible() && key->isEnabled()) << button;
    QTest::mouseClick(key, Qt::LeftButton);
}

class ProgramWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        QString error;
        const auto bench = ReadBench(QStringLiteral(DEMO_BENCH_PATH), &error);
        ASSERT_TRUE(bench.has_value()) << error.toStdString();
        sim = std::make_unique<tarnsim::Simulator>(*bench);
        std::string startError;
        ASSERT_TRUE(sim->Start(&startError)) << startError;
        // The link monitor is offered in debug mode.
        QFile marker(home.filePath(QStringLiteral("DEBUG")));
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        context = std::make_unique<AppContext>(
            ProgramFolder(home.path(), {QApplication::applicationDirPath()}), 9, home.path());
        // Port 1 is the simulator's terminal; no device is chosen yet.
        context->settings().WriteString(settings_keys::kPortsSection, settings_keys::PortKey(1),
                                        QString::fromStdString(sim->SlavePath()));
        context->deviceStore().WriteInt("INIT", "COM", 1);
        const QString demo =
            QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("demo/demo.cwf"));
        // The last run of the program ended unexpectedly, and its tape guard left a note.
        ASSERT_TRUE((GuardNote{"autorec", "00:12:34:05", true}.Write(home.path())));
        windows = std::make_unique<ProgramWindows>(*context, prompts, demo);
        windows->mainWindow().show();
        ASSERT_TRUE(WaitFor([&] { return windows->mainWindow().firstShowDone(); }));
    }
    void TearDown() override {
        if (!windows)
            return;
        prompts.answers.push_back(false);  // do not save a changed list
        prompts.answers.push_back(true);   // quit
        windows->mainWindow().close();
        windows.reset();
        context.reset();
    }

    TfrmEDS& Main() { return windows->mainWindow(); }
    QString IniText() const {
        QFile file(home.filePath(QStringLiteral("cw20.ini")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    TfrmAvCtl& Controller() { return windows->deck().controller(); }
    const MainMenus& Menus() { return Main().menus(); }

    // In the device setup: the row of the device with this id.
    static void ClickDeviceRow(QWidget* setup, int id) {
        auto* grid = setup->findChild<QTableWidget*>(QStringLiteral("SG1"));
        const QString idText = QStringLiteral("%1").arg(id, 2, 10, QLatin1Char('0'));
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->item(row, 1) != nullptr && grid->item(row, 1)->text() == idText) {
                const QRect cell = grid->visualItemRect(grid->item(row, 3));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
                return;
            }
        }
        ADD_FAILURE() << "no row for id " << id;
    }

    QTemporaryDir home;
    std::unique_ptr<tarnsim::Simulator> sim;
    ScriptedPrompts prompts;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<ProgramWindows> windows;
};

struct WindowCase {
    const char* how;     // what the user does to open it
    const char* window;  // its object name
    bool modal;          // it runs a loop of its own until it closes
    std::function<void()> open;
    // Acts in the window as the user would, through its main button; the window is shown.
    std::function<void(QWidget*)> act;
    // What the click did, seen once the window has done it.
    std::function<bool()> done;
    // Whether the window is ready for the click (none: as soon as it shows enabled).
    std::function<bool()> ready = {};
};

TEST_F(ProgramWindowsTest, EveryWindowOpensUsableAndItsMainButtonDoesWhatItSays) {
    // The tape guard's note is shown once the main window stands, and only once.
    EXPECT_TRUE(WaitFor([&] {
        return prompts.warnings.contains(
            "Clipwright ended unexpectedly during Auto Rec; the recorder was paused at "
            "00:12:34:05.");
    }));
    EXPECT_FALSE(QFile::exists(home.filePath(GuardNote::kFileName)));
    const int firstScene = 1;
    const std::vector<WindowCase> cases = {
        {"Preference > Tarn Devices", "frmTarnDev", true, [&] { Menus().mnuDev->trigger(); },
         [&](QWidget* setup) {
             EXPECT_FALSE(Main().isEnabled()) << "the dialog holds the main window";
             Click(setup, "btnScan");
             QTRY_VERIFY_WITH_TIMEOUT(setup->isEnabled(), 60000);
             ClickDeviceRow(setup, kCamcorderId);
             Click(setup, "btnPSel");
             ClickDeviceRow(setup, kVcrId);
             Click(setup, "btnRSel");
             Click(setup, "btnOk");
         },
         [&] {
             return context->devices().playerId == kCamcorderId &&
                    context->devices().recorderId == kVcrId && Main().isEnabled();
         }},
        {"Window > Controller", "frmAvCtl", false, [&] { Menus().mnuCtl->trigger(); },
         [&](QWidget*) {
             QTest::mouseClick(Controller().key(QStringLiteral("btnPlay")), Qt::LeftButton);
         },
         [&] { return sim->Device(kCamcorderId)->mode == kModePlay && Main().isEnabled(); },
         [&] { return Controller().remote().transportOn(); }},
        {"the controller's device id", "frmTarnDev", true,
         [&] {
             QTest::mouseClick(Controller().findChild<QLabel*>(QStringLiteral("lblID")),
                               Qt::LeftButton);
         },
         [&](QWidget* setup) {
             EXPECT_FALSE(Controller().isEnabled()) << "the dialog holds the controller";
             Click(setup, "btnCancel");
         },
         [&] { return context->devices().playerId == kCamcorderId && Controller().isEnabled(); }},
        {"Preference > Options", "frmOption", true, [&] { Menus().mnuOpt->trigger(); },
         [&](QWidget* options) { Click(options, "btnOk"); },
         [&] {
             return windows->options().result() == QDialog::Accepted &&
                    IniText().contains(QStringLiteral("[Option]"));
         }},
        {"Edit > Modify Edit Points", "frmCrct", true,
         [&] {
             context->scenes().SelectOnly(firstScene);
             Menus().mnuMod->trigger();
         },
         [&](QWidget* correction) { Click(correction, "btnOk"); },
         [&] { return windows->correction().result() == QDialog::Accepted; }},
        {"F1", "frmHelp", false,
         [&] {
             QApplication::setActiveWindow(&Main());
             QTest::keyClick(&Main(), Qt::Key_F1);
         },
         [&](QWidget* help) {
             // The program holds its main window while it waits; the help stays usable.
             Main().setEnabled(false);
             EXPECT_TRUE(help->isEnabled());
             QListWidget* contents = Main().helpWindow()->contentsList();
             ASSERT_GE(contents->count(), 2);
             const QRect entry = contents->visualItemRect(contents->item(1));
             QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, entry.center());
             Main().setEnabled(true);
         },
         [&] { return Main().helpWindow()->currentPage() != QStringLiteral("contents.html"); }},
        {"Window > Tarn Monitor", "frmMonitor", false, [&] { Menus().mnuMoni->trigger(); },
         [&](QWidget* monitor) {
             Main().setEnabled(false);
             EXPECT_TRUE(monitor->isEnabled());
             auto* entry = monitor->findChild<QLineEdit*>(QStringLiteral("edSend"));
             entry->setText(QStringLiteral("01:00:00:00:00:00:00:00:"));
             Click(monitor, "btnSend");
             Main().setEnabled(true);
         },
         [&] {
             auto* request = windows->monitor().findChild<QLabel*>(QStringLiteral("pnlTD"));
             return request->text().startsWith(QStringLiteral("FF:FF:01:"));
         }},
        {"Help > About", "frmTitle", true, [&] { Menus().mnuAbout->trigger(); },
         [&](QWidget* about) { Click(about, "btnOk"); },
         [&] { return !windows->title().isVisible(); }},
        {"AUTO REC", "frmWait", false,
         [&] {
             // The options stored above do not fit the demo decks, so every scene lands a few
             // frames off; one take each, as the case waits for the first scene on tape.
             context->options().StoreRetakes(context->settings(), 0,
                                             EditOptions::kDefaultRetakeTolerance);
             context->scenes().SelectOnly(firstScene);
             QTest::mouseClick(Controller().picture(QStringLiteral("imgPgmCover")), Qt::LeftButton);
             QTest::mouseClick(Controller().key(QStringLiteral("btnAutoRec")), Qt::LeftButton);
         },
         [&](QWidget* progress) {
             EXPECT_FALSE(Main().isEnabled());
             EXPECT_FALSE(Controller().isEnabled());
             Click(progress, "btnAbort");
         },
         [&] { return windows->progress().StopRequested() && !windows->progress().isVisible(); },
         // Stopped once a scene is on tape, so that the check has it to show.
         [&] { return context->scenes().current() > firstScene; }},
        {"the end of an Auto Rec", "frmVerify", false, [] {},
         [&](QWidget* check) {
             QApplication::clipboard()->clear();
             Click(check, "btnCopy");
             Click(check, "btnClose");
         },
         [&] {
             return !windows->deck().verification().isVisible() &&
                    !QApplication::clipboard()->text().isEmpty();
         }},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.how);
        // The window may come up inside a loop of its own (a modal dialog), and its show may
        // service events before it is done: a polling timer acts once it is shown, enabled and
        // ready (a modal one running its loop), and never blocks.
        bool acted = false;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        const int level = QThread::currentThread()->loopLevel();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* window = ShownWindow(c.window);
            const bool usable = window != nullptr && window->isEnabled() && (!c.ready || c.ready());
            const bool looping = !c.modal || (QThread::currentThread()->loopLevel() > level &&
                                              QApplication::activeModalWidget() == window);
            if (usable && looping) {
                poll.stop();
                c.act(window);
                acted = true;
            } else if (waited.elapsed() > kGiveUpMs) {
                // Fails rather than hangs: a dead modal dialog would never return.
                poll.stop();
                ADD_FAILURE() << c.window << (window ? " came up greyed" : " did not show");
                if (window != nullptr)
                    window->close();
            }
        });
        poll.start(20);
        c.open();
        ASSERT_TRUE(WaitFor([&] { return acted; }, kGiveUpMs + 5000));
        EXPECT_TRUE(WaitFor(c.done, 30000)) << c.window << ": the click did not do its part";
    }

    // Help > Save Diagnostics after that session: the confirmation names the file, which holds
    // the exchanges with both decks and the Auto Rec's ending, and no path of the program folder.
    const QString path = home.filePath(QStringLiteral("diagnostics.txt"));
    prompts.files.push_back(path);
    prompts.informations.clear();
    Menus().mnuSaveDiagnostics->trigger();
    ASSERT_EQ(prompts.informations.size(), 1);
    EXPECT_TRUE(prompts.informations.first().contains(path)) << "the message names the file";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* id : {"01", "02"}) {
        EXPECT_TRUE(text.contains(QRegularExpression(
            QStringLiteral(" ms  FF FF %1 [0-9A-F ]+ -> FC FF %1 [0-9A-F ]+  ok\\n")
                .arg(QLatin1String(id)))))
            << id;
    }
    EXPECT_TRUE(text.contains(QRegularExpression("== Last Auto Rec ==\\n(finished|stopped: )")));
    EXPECT_FALSE(text.contains(home.path())) << text.toStdString();
}

}  // namespace
