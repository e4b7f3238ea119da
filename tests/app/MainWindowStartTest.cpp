// Start-up and closing: the settings read at the first show and written at close, the close
// questions, the real message box, the single-instance lock and the window's layout.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QWheelEvent>

#include "MainWindowFixture.h"
#include "app/CommandLineFile.h"
#include "app/HandedOverFile.h"
#include "app/HandoverChannel.h"
#include "app/InstanceLock.h"
#include "app/MainLayout.h"
#include "app/MessageBoxPrompts.h"
#include "edit/SceneListFixtures.h"
#include "ui/HelpWindow.h"
#include "ui/SceneListView.h"
#include "ui/TfrmTitle.h"

TEST_F(MainWindowTest, SettingsAndDevicesAreReadAtTheFirstShowAndModeFileAndPlaceWrittenAtClose) {
    WriteFile("cw20.ini", "[Setup]\r\nFrameMode=2\r\n[Option]\r\nSyncroEdit=160\r\n");
    CTarnReg store(home.path());
    store.WriteInt("INIT", "DEVICES", 2);
    store.WriteInt("INIT", "ID0", 3);
    store.WriteInt("INIT", "ID1", 4);
    store.WriteInt("INIT", "CurID", 3);
    Start(DemoList());
    EXPECT_EQ(scenes().timecodeMode(), 2u);
    // The first show loads the options at the stored frame rate, and the device list.
    EXPECT_TRUE(context->options().thirtyFps());
    EXPECT_EQ(context->options().preRollFrames(), 160);
    ASSERT_EQ(context->devices().devices.size(), 2u);
    EXPECT_EQ(context->devices().devices[1].id, 4);
    EXPECT_EQ(context->devices().playerId, 3);
    EXPECT_EQ(context->devices().devices[0].present, 0) << "no port is stored: nothing answered";
    window->setGeometry(60, 40, 520, 380);
    const QRect placed = window->geometry();
    CloseWithoutQuestions();
    EXPECT_TRUE(IniText().contains("FrameMode=2"));
    EXPECT_TRUE(IniText().contains("Program=" + DemoList()));
    EXPECT_TRUE(IniText().contains("[frmEDS]"));
    EXPECT_TRUE(IniText().contains("Width=520"));

    Start();
    EXPECT_EQ(scenes().timecodeMode(), 2u);
    EXPECT_EQ(window->document().defaultFolder(), QFileInfo(DemoList()).absolutePath());
    EXPECT_EQ(window->geometry(), placed);
    // Below 600 pixels the horizontal scroll bar takes the bottom of the window.
    EXPECT_TRUE(window->findChild<QScrollBar*>("ScrollBar1")->isVisible());
}

TEST_F(MainWindowTest, TheTitleShowsAloneThenTheWindowOnceInItsPlaceAndFilled) {
    WriteFile("cw20.ini", "[frmEDS]\r\nTop=40\r\nLeft=60\r\nWidth=520\r\nHeight=380\r\n");
    context = std::make_unique<AppContext>(Folder(), 9, home.path());
    window = std::make_unique<TfrmEDS>(*context, prompts);
    TfrmTitle title(context->captions(), context->programFolder(), context->settings());
    window->SetTitleWindow(&title);
    window->SetCommandLineFile(DemoList());
    struct Shows : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show) {
                auto* main = static_cast<QWidget*>(watched);
                seen << QStringLiteral("%1 at %2,%3 total %4 title %5")
                            .arg(seen.size() + 1)
                            .arg(main->x())
                            .arg(main->y())
                            .arg(main->findChild<QLabel*>("pnlTotalTime")->text())
                            .arg(title->isVisible() ? "shown" : "gone");
            }
            return false;
        }
        QWidget* title = nullptr;
        QStringList seen;
    } shows;
    shows.title = &title;
    window->installEventFilter(&shows);
    bool splashAlone = false, mainDuringSplash = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        splashAlone = splashAlone || (title.isVisible() && !window->isVisible());
        mainDuringSplash = mainDuringSplash || (title.isVisible() && window->isVisible());
    });
    poll.start(20);

    window->ShowAtStart();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->firstShowDone(); }, 5000));
    QTest::qWait(100);
    EXPECT_TRUE(splashAlone);
    EXPECT_FALSE(mainDuringSplash);
    ASSERT_EQ(shows.seen.size(), 1);
    EXPECT_TRUE(shows.seen[0].startsWith("1 at 60,40 total ")) << shows.seen[0].toStdString();
    EXPECT_FALSE(shows.seen[0].contains("00:00:00:00")) << "the list is loaded before the show";
    EXPECT_TRUE(shows.seen[0].endsWith("title gone"));
}

TEST_F(MainWindowTest, AMalformedFrameModeIsReportedAndTheStartGoesOn) {
    // No number: the default, 0. A number outside 0 to 2: 30 fps, 1, which the window writes
    // back at close as the mode in use.
    const std::pair<const char*, uint32_t> cases[] = {{"abc", 0u}, {"7", 1u}};
    for (const auto& [value, mode] : cases) {
        WriteFile("cw20.ini", QByteArray("[Setup]\r\nFrameMode=") + value + "\r\n");
        prompts.warnings.clear();
        Start(DemoList());
        ASSERT_EQ(prompts.warnings.size(), 1) << value;
        EXPECT_TRUE(prompts.warnings[0].contains("FrameMode")) << prompts.warnings[0].toStdString();
        EXPECT_TRUE(prompts.warnings[0].contains(value));
        EXPECT_TRUE(prompts.warnings[0].contains("cw20.ini"));
        EXPECT_EQ(scenes().timecodeMode(), mode) << value;
        EXPECT_EQ(scenes().count(), 8);  // the start-up went on to the command-line file
        CloseWithoutQuestions();
        EXPECT_TRUE(IniText().contains("FrameMode=" + QString::number(mode))) << value;
    }
}

TEST_F(MainWindowTest, ClosingAsksToSaveThenToQuit) {
    Start();
    FillScenes(scenes(), 1);
    prompts.answers = {false, false};  // discard the changes, but do not quit
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.questions,
              (QStringList{"The edit list has been changed.\nDo you want to save it?",
                           "Do you want to quit Clipwright?"}));
    EXPECT_TRUE(window->isVisible());

    prompts.answers = {true};  // save, then cancel the save dialog: the window stays
    prompts.files = {QString()};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(IniText().contains("FrameMode"));  // nothing written while it stays
}

TEST_F(MainWindowTest, TheRealBoxAsksItsAnswerCountsAndOverADisabledWindowItStillTakesTheClick) {
    Start();
    MessageBoxPrompts real;
    QString shownText;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(real.AskYesNo(window.get(), "Clipwright", "Do you want to quit Clipwright?"));
    EXPECT_EQ(shownText, "Do you want to quit Clipwright?");

    // During an Auto Rec the progress window holds the main window disabled, and the tape-change
    // box is the main window's: its OK must still work.
    window->setEnabled(false);
    bool okEnabled = false;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        okEnabled = ok->isEnabled();
        // A disabled OK ignores the click; the box is then ended here so the test goes on.
        QTest::mouseClick(ok, Qt::LeftButton);
        if (box->isVisible())
            box->done(QMessageBox::Ok);
    });
    real.ShowInformation(window.get(), "Clipwright", "Insert the next tape.");
    EXPECT_TRUE(okEnabled);
    EXPECT_FALSE(window->isEnabled());
    window->setEnabled(true);
}

TEST_F(MainWindowTest, FrenchAndJapaneseGetQtsOwnButtonsAndNumbersInTheirLanguage) {
    const struct {
        int language;
        QString yes, no, number;
    } languages[] = {{12, "&Oui", "&Non", "3,0"},
                     {17, QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"), "3.0"}};
    for (const auto& l : languages) {
        SCOPED_TRACE(l.language);
        Start({}, nullptr, l.language);
        MessageBoxPrompts real;
        QStringList buttons;
        OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            buttons = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(real.AskYesNoOrCancel(window.get(), context->Text("TI_MAIN"),
                                        context->Text("MSG_SAVE2")),
                  YesNoAnswer::Cancelled);
        EXPECT_EQ(buttons, QStringList({l.yes, l.no}));
        EXPECT_EQ(QLocale().toString(3.0, 'f', 1), l.number);
        CloseWithoutQuestions();
    }
    EXPECT_EQ(QLocale().toString(3.0, 'f', 1), "3.0") << "the locale found before comes back";
}

TEST_F(MainWindowTest,
       ASecondStartHandsItsFileToTheRunningProgramWhichAsksToSaveFirstAndFreesTheLockAtClose) {
    Start();  // this program holds the folder's lock
    const QString lock = QDir(home.path()).filePath("cw20.key");
    // A second lock in this very process must fail too: flock locks belong to the open file.
    const InstanceLock duplicate(lock);
    EXPECT_FALSE(duplicate.IsHeld());
    EXPECT_TRUE(duplicate.IsHeldElsewhere());
    HandoverServer server;
    HandedOverFile handedOver(*window);
    QObject::connect(&server, &HandoverServer::HandedOver, &handedOver, &HandedOverFile::Take);
    ASSERT_TRUE(server.Listen(QDir(home.path()).filePath(kHandoverSocketName)));
    scenes().SetModified(true);
    prompts.answers.push_back(false);  // the changed list is not saved

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", home.path());
    second.setProcessEnvironment(environment);
    // A relative name: the second start makes it whole before handing it over.
    second.setWorkingDirectory(QFileInfo(DemoList()).absolutePath());
    second.start(QDir(QApplication::applicationDirPath()).filePath("clipwright"),
                 {"--home", home.path(), QFileInfo(DemoList()).fileName()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(second.readAllStandardError().contains("did not take"));

    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->document().currentFileName() == DemoList(); }, 5000));
    EXPECT_EQ(scenes().count(), 8);
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].startsWith(context->Text("MSG_SAVE1")));

    // The lock is released when the window closes.
    EXPECT_FALSE(InstanceLock(lock).IsHeld());
    prompts.answers = {true};
    ASSERT_TRUE(window->close());
    EXPECT_TRUE(InstanceLock(lock).IsHeld());
}

TEST_F(MainWindowTest, AHandedOverFileWaitsWhileTheMainWindowIsHeld) {
    Start();
    HandedOverFile handedOver(*window);
    window->setEnabled(false);  // as while an Auto Rec or a dialog holds it
    handedOver.Take(DemoList());
    QTest::qWait(700);
    EXPECT_TRUE(window->document().currentFileName().isEmpty());
    EXPECT_EQ(handedOver.waiting(), DemoList());
    window->setEnabled(true);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window->document().currentFileName() == DemoList(); }, 5000));
}

TEST(HandoverChannelTest, NoRunningProgramMeansNoHandOver) {
    QTemporaryDir folder;
    EXPECT_FALSE(HandOverToRunningProgram(folder.filePath(kHandoverSocketName), "a.cwf"));
}

TEST(InstanceLockTest, AFolderWithoutRoomForTheLockIsNoOtherInstance) {
    InstanceLock lock("/nonexistent-folder/cw20.key");
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(lock.IsHeldElsewhere());
}

TEST(CommandLineFileTest, TakesTheArgumentsWholeWithoutSurroundingQuotes) {
    EXPECT_EQ(CommandLineFile({}), "");
    EXPECT_EQ(CommandLineFile({"/tmp/a.cwf"}), "/tmp/a.cwf");
    EXPECT_EQ(CommandLineFile({"\"/tmp/my list.cwf\""}), "/tmp/my list.cwf");
    EXPECT_EQ(CommandLineFile({"/tmp/my", "list.cwf"}), "/tmp/my list.cwf");
    EXPECT_EQ(CommandLineFile({"\""}), "\"");
}

TEST(MainLayoutTest, BelowSixHundredPixelsTheBandsKeepTheirWidthAndTheBarAppears) {
    const MainLayout wide = ComputeMainLayout(QSize(800, 400), 54, 30, 16);
    EXPECT_FALSE(wide.scrollBarShown);
    EXPECT_EQ(wide.toolbar, QRect(0, 0, 800, 54));
    EXPECT_EQ(wide.header, QRect(0, 54, 800, 20));
    EXPECT_EQ(wide.list, QRect(0, 74, 800, 326));
    EXPECT_EQ(wide.scrollPosition, 0);

    const MainLayout narrow = ComputeMainLayout(QSize(500, 400), 54, 40, 16);
    EXPECT_TRUE(narrow.scrollBarShown);
    EXPECT_EQ(narrow.scrollMaximum, 100);
    EXPECT_EQ(narrow.scrollPage, 500);
    EXPECT_EQ(narrow.toolbar, QRect(0, 0, 600, 54));
    EXPECT_EQ(narrow.header, QRect(-40, 54, 600, 20));
    EXPECT_EQ(narrow.list, QRect(-40, 74, 540, 310));  // right edge stays at the window's edge
    EXPECT_EQ(narrow.scrollBar, QRect(0, 384, 484, 16));

    // Widening the window pulls a scroll position back into the new range.
    EXPECT_EQ(ComputeMainLayout(QSize(580, 400), 54, 100, 16).scrollPosition, 20);
    // Without the toolbar the header and the list move up.
    EXPECT_EQ(ComputeMainLayout(QSize(800, 400), 0, 0, 16).header.top(), 0);
}

TEST_F(MainWindowTest, TheToolbarToggleMovesTheListUpHelpOpensOnItsTabAndTheWheelScrollsTheList) {
    Start();
    const int listTop = window->list()->geometry().top();
    window->menus().mnuToolbar->trigger();
    EXPECT_FALSE(window->menus().mnuToolbar->isChecked());
    EXPECT_EQ(window->list()->geometry().top(), listTop - 54);
    window->menus().mnuToolbar->trigger();
    EXPECT_EQ(window->list()->geometry().top(), listTop);

    // Help > Keyword and Help > Contents open the help window on their tab.
    window->menus().mnuKeyword->trigger();
    HelpWindow* help = window->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->tabs()->currentIndex(), 1);
    EXPECT_TRUE(help->keywordField()->text().isEmpty());
    window->menus().mnuCont->trigger();
    EXPECT_EQ(help->tabs()->currentIndex(), 0);
    EXPECT_EQ(help->currentPage(), "contents.html");
    help->close();

    // The wheel scrolls the list one row per notch.
    FillScenes(scenes(), 60);
    QApplication::processEvents();
    QScrollBar* bar = window->list()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 40);
    const QPointF at(20, 20);
    QWheelEvent down(at, window->list()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    bar->setValue(0);
    QApplication::sendEvent(window->list()->viewport(), &down);
    EXPECT_EQ(bar->value(), 20);
    QWheelEvent up(at, window->list()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.get(), &up);
    QApplication::sendEvent(window.get(), &up);
    EXPECT_EQ(bar->value(), 0);  // never above the top
}
