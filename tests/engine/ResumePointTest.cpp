// The resume point of an interrupted Auto Rec: kept in the settings file across program runs,
// refused when damaged, and refused for a list that changed in anything that lands on tape.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "EngineFixture.h"
#include "config/SettingsFile.h"
#include "edit/SceneList.h"
#include "engine/ResumePoint.h"

namespace {

const int kIn1 = Frames("00:01:10:00"), kIn2 = Frames("00:01:20:00");
const QString kFingerprint = QStringLiteral("8d3afdabc7bf1b9d2af5fa7537d6ab5c878bd559");

TEST(ResumePointTest, SurvivesTheSettingsFileAndAnEmptyPointClearsIt) {
    QTemporaryDir dir;
    SettingsFile settings(dir.path());
    EXPECT_TRUE(LoadResumePoint(settings).IsEmpty());
    const ResumePoint point{kFingerprint, 2, 5400, 0};
    ASSERT_TRUE(StoreResumePoint(settings, point));
    EXPECT_EQ(LoadResumePoint(SettingsFile(dir.path())), point);

    ASSERT_TRUE(StoreResumePoint(settings, {}));
    EXPECT_TRUE(LoadResumePoint(settings).IsEmpty());
}

// A [Resume] edited by hand or cut short is a damaged point, named by its value at fault: the
// resume is refused with that, never followed into a crash or onto a wrong frame.
TEST(ResumePointTest, ADamagedPointIsRefusedNamingTheValueAtFault) {
    SceneList list(Fps30);
    list.ReplaceRows({TapeChangeRow(), SceneRow(kIn1, kIn1 + 90), SceneRow(kIn2, kIn2 + 90)});
    const QString own = ListFingerprint(list);
    struct Case {
        QString list, row, recorderAt, recordingStart, fault;
    };
    const Case cases[] = {
        {own, "2147483647", "5400", "0", "Row=2147483647"},
        {own, "-1", "5400", "0", "Row=-1"},
        {own, "100", "5400", "0", "Row=100"},
        {own, "two", "5400", "0", "Row=two"},
        {own, "", "5400", "0", "Row="},
        {own, "1", "99999999", "0", "RecorderAt=99999999"},
        {own, "1", "5400", "-2147483648", "RecordingStart=-2147483648"},
        {own, "1", "5400", "9999999999", "RecordingStart=9999999999"},
        {own, "1", "54 00", "0", "RecorderAt=54 00"},
        {"not a fingerprint", "1", "5400", "0", "List=not a fingerprint"},
        {own.toUpper(), "1", "5400", "0", "List=" + own.toUpper()},
    };
    QTemporaryDir dir;
    const SettingsFile settings(dir.path());
    for (const Case& c : cases) {
        ASSERT_TRUE(settings.WriteStrings(QStringLiteral("Resume"),
                                          {{"List", c.list},
                                           {"Row", c.row},
                                           {"RecorderAt", c.recorderAt},
                                           {"RecordingStart", c.recordingStart}}));
        const ResumePoint point = LoadResumePoint(settings);
        EXPECT_TRUE(point.Damaged()) << c.fault.toStdString();
        EXPECT_EQ(CheckResume(point, list), ResumeRefusal::Damaged) << c.fault.toStdString();
        EXPECT_EQ(ResumePointFault(point, list), c.fault);
    }
    // A sound point with this list's fingerprint on a row the list lacks: edited by hand.
    const ResumePoint beyond{own, 5, 5400, 0};
    EXPECT_EQ(CheckResume(beyond, list), ResumeRefusal::Damaged);
    EXPECT_EQ(ResumePointFault(beyond, list), "Row=5");
}

TEST(ResumePointTest, RefusesAChangedListOrAPointWithNoSceneAfterIt) {
    SceneList list(Fps30);
    list.ReplaceRows({TapeChangeRow(), SceneRow(kIn1, kIn1 + 90), SceneRow(kIn2, kIn2 + 90)});
    ResumePoint point{ListFingerprint(list), 1, 5400, 900};
    EXPECT_EQ(CheckResume(point, list), ResumeRefusal::None);
    EXPECT_EQ(CheckResume({}, list), ResumeRefusal::NothingToResume);

    list.ModifyRow(2, list.row(2).inText, list.row(2).outText, QStringLiteral("a new memo"), false);
    EXPECT_EQ(CheckResume(point, list), ResumeRefusal::None);

    point.lastRow = 2;
    EXPECT_EQ(CheckResume(point, list), ResumeRefusal::NothingToResume);

    point.lastRow = 1;
    list.SetInText(2, FramesToText(kIn2 + 1, Fps30));
    EXPECT_EQ(CheckResume(point, list), ResumeRefusal::ListChanged);
}

}  // namespace
