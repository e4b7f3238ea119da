// The log file keeps to its size cap and its number of old files, and its tail reads across
// them in the order the lines were written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "config/LogFile.h"

namespace {

TEST(LogFile, RotatesAtItsCapKeepingThreeOldFilesAndTailsAcrossThem) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    constexpr qint64 kCap = 100;
    LogFile log(folder.path(), kCap);
    // 60 lines of 10 bytes: six files' worth, of which the current one and three old ones stay.
    for (int n = 0; n < 60; ++n)
        ASSERT_TRUE(log.Append(QStringLiteral("line %1").arg(n, 4, 10, QLatin1Char('0'))));

    const QDir dir(folder.path());
    for (const char* name :
         {"clipwright.log", "clipwright.log.1", "clipwright.log.2", "clipwright.log.3"}) {
        const QFileInfo file(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.exists()) << name;
        EXPECT_LE(file.size(), kCap) << name;
    }
    EXPECT_FALSE(dir.exists(QStringLiteral("clipwright.log.4")));

    const QStringList tail = log.Tail(25);
    ASSERT_EQ(tail.size(), 25);
    EXPECT_EQ(tail.front(), QStringLiteral("line 0035"));
    EXPECT_EQ(tail.back(), QStringLiteral("line 0059"));
    // The four files hold the last 40 lines, nothing older.
    const QStringList all = log.Tail(1000);
    ASSERT_EQ(all.size(), 40);
    EXPECT_EQ(all.front(), QStringLiteral("line 0020"));
}

}  // namespace
