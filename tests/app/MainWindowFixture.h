// A main window on a fresh program folder, with the supplied captions and pictures, a scripted
// user and no splash, shown and past its first show.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

#include "ScriptedPrompts.h"
#include "app/AppContext.h"
#include "app/TfrmEDS.h"
#include "edit/SceneList.h"
#include "ui/TfrmCrct.h"

// An edit list file of a tape-change row and one scene with an effect.
inline const QByteArray kTwoRowList =
    "TCMode\t000\r\nScenes\t002\r\nNo.\tInpoint\tOutPoint\tEffect\tTransition\tMemo\r\n"
    "000\t 00:00:00:00\t 00:00:00:00\t000\t000\t1\tfirst tape\r\n"
    "001\t 00:01:00:00\t 00:01:10:00\t002\t000\t0\tfrom the file\r\n";

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }
    void TearDown() override { CloseWithoutQuestions(); }

    // The supplied files are those copied beside the test programs.
    ProgramFolder Folder() const {
        return ProgramFolder(home.path(), {QApplication::applicationDirPath()});
    }

    // `user` answers instead of the scripted prompts (the program's own boxes, for key presses).
    void Start(const QString& commandLineFile = {}, UserPrompts* user = nullptr,
               int language = 9) {
        context = std::make_unique<AppContext>(Folder(), language, home.path());
        window = std::make_unique<TfrmEDS>(*context, user != nullptr ? *user : prompts);
        correction =
            std::make_unique<TfrmCrct>(context->captions(), context->settings(), window.get());
        window->SetCorrectionDialog(correction.get());
        window->SetCommandLineFile(commandLineFile);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->firstShowDone(); }, 5000));
    }

    // Ends the window as the user would, answering the close question Yes (and a save question
    // No when the list was changed).
    void CloseWithoutQuestions() {
        if (!window)
            return;
        if (context->scenes().modified())
            prompts.answers.push_back(false);
        prompts.answers.push_back(true);
        window->close();
        correction.reset();
        window.reset();
        context.reset();
    }

    SceneList& scenes() { return context->scenes(); }
    // The title as the desktop shows it, with its mark of unsaved changes.
    QString ShownTitle() const { return window->windowHandle()->title(); }

    // Hands the modal window that the next call opens to act, which must end it.
    static void OnNextModal(const std::function<void(QWidget*)>& act) {
        QTimer::singleShot(0, [act] {
            ASSERT_TRUE(
                QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
            act(QApplication::activeModalWidget());
        });
    }

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(home.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString DemoList() const {
        return QDir(QApplication::applicationDirPath()).filePath("demo/demo.cwf");
    }

    QString IniText() const {
        QFile file(QDir(home.path()).filePath("cw20.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir home;
    ScriptedPrompts prompts;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<TfrmEDS> window;
    std::unique_ptr<TfrmCrct> correction;
};
