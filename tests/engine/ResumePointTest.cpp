// The resume point of an interrupted Auto Rec: kept in the settings file across program runs,
// and refused for a list that changed in anything that lands on tape.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "EngineFixture.h"
#include "config/SettingsFile.h"
#include "edit/SceneList.h"
#include "engine/ResumePoint.h"

namespace {

const int kIn1 = Frames("00:01:10:00"), kIn2 = Frames("00:01:20:00");

TEST(ResumePointTest, SurvivesTheSettingsFileAndAnEmptyPointClearsIt) {
    QTemporaryDir dir;
    SettingsFile settings(dir.path());
    EXPECT_TRUE(LoadResumePoint(settings).IsEmpty());
    const ResumePoint point{QStringLiteral("abc123"), 2, 5400, 900};
    StoreResumePoint(settings, point);
    EXPECT_EQ(LoadResumePoint(SettingsFile(dir.path())), point);

    settings.WriteString(settings_keys::kResumeRow, QStringLiteral("two"));
    EXPECT_TRUE(LoadResumePoint(settings).IsEmpty()) << "a malformed point is no point";

    StoreResumePoint(settings, point);
    StoreResumePoint(settings, {});
    EXPECT_TRUE(LoadResumePoint(settings).IsEmpty());
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
