// A save that is cut short must never cost the user their list: a process saving full lists is
// killed at many points during its saves, and the file is always one complete list; a save that
// meets a file size limit (a full disk) fails and leaves the old file as it was, and does not end
// the program.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "config/TextDecoding.h"
#include "edit/ProjectFileHost.h"
#include "edit/ProjectFiles.h"
#include "edit/ProjectWriter.h"
#include "edit/SceneList.h"

namespace {

class SilentHost : public ProjectFileHost {
public:
    void RaiseProgressWindow() override {}
    void CloseProgressWindow() override {}
    bool AskYesNo(const QStringList&) override { return true; }
    void ShowWarning(const QString&) override {}
    void ReportWriteFailure(const QString&, const QString&) override {}
};

// 100 rows, each with the longest memo of three-byte characters: the largest list there is.
void FillFullList(SceneList& list, QChar memoCharacter) {
    std::vector<Scene> rows(SceneList::kMaxRows);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].inText = QStringLiteral("00:%1:00:00").arg(i % 60, 2, 10, QChar('0'));
        rows[i].outText = QStringLiteral("00:%1:10:00").arg(i % 60, 2, 10, QChar('0'));
        rows[i].memo = QString(ProjectFiles::kMaxMemoCharacters, memoCharacter);
        rows[i].tapeChange = i == 0;
    }
    list.ReplaceRows(std::move(rows));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class InterruptedSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillFullList(oldList, QChar(0x65E7));  // 旧
        FillFullList(newList, QChar(0x65B0));  // 新
        oldBytes = ProjectFileBytes(oldList);
        newBytes = ProjectFileBytes(newList);
        ASSERT_NE(oldBytes, newBytes);
        ASSERT_TRUE(Save(oldList));
        ASSERT_EQ(ReadAll(path), oldBytes);
    }

    bool Save(SceneList& list) {
        ProjectFiles files(list, host, kLanguageEnglish);
        return files.SaveProject(path, false);
    }

    // Milliseconds one save of a full list takes here, the median of a few.
    double SaveMs() {
        std::vector<double> times;
        for (int i = 0; i < 7; ++i) {
            QElapsedTimer timer;
            timer.start();
            Save(i % 2 ? oldList : newList);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("trip.cwf");
    SilentHost host;
    SceneList oldList, newList;
    QByteArray oldBytes, newBytes;
};

TEST_F(InterruptedSaveTest, AKilledSaveLeavesTheOldListOrTheNewOneWhole) {
    constexpr int kKills = 120;
    // The kill points step through two saves' time, so they fall into every part of a save:
    // opening the temporary file, writing, syncing, replacing the old file.
    const double stepMs = 2 * SaveMs() / kKills;
    int foundOld = 0, foundNew = 0;
    for (int k = 0; k < kKills; ++k) {
        ASSERT_TRUE(Save(oldList));  // every kill interrupts a save of the new list over the old
        int started[2];
        ASSERT_EQ(pipe(started), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the new list, then the old and the new in turn, until killed.
            close(started[0]);
            const char go = 1;
            if (write(started[1], &go, 1) != 1)
                _exit(3);
            for (int i = 0;; ++i)
                Save(i % 2 ? oldList : newList);
        }
        close(started[1]);
        char go = 0;
        ASSERT_EQ(read(started[0], &go, 1), 1);
        close(started[0]);
        std::this_thread::sleep_for(
            std::chrono::microseconds(static_cast<int64_t>(k * stepMs * 1000)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const QByteArray onDisk = ReadAll(path);
        ASSERT_TRUE(onDisk == oldBytes || onDisk == newBytes)
            << "kill " << k << " after " << k * stepMs << " ms left " << onDisk.size()
            << " bytes that are neither list";
        (onDisk == oldBytes ? foundOld : foundNew)++;
    }
    RecordProperty("kills_leaving_old", foundOld);
    RecordProperty("kills_leaving_new", foundNew);
    std::printf("%d kills, a save takes about %.2f ms: %d left the old list, %d the new one\n",
                kKills, stepMs * kKills / 2, foundOld, foundNew);
}

TEST_F(InterruptedSaveTest, AFullDiskFailsTheSaveKeepsTheOldFileAndTheProgramRuns) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The program's start-up, then a file size limit below the new list's size.
        IgnoreFileSizeSignal();
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = static_cast<rlim_t>(newBytes.size() / 2);
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(Save(newList) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the save ended the process (signal "
                                   << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
    EXPECT_EQ(ReadAll(path), oldBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"trip.cwf"});
}

}  // namespace
