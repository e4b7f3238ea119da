// The tape-change request names the tape that comes next: by its memo, or by its number in the
// list when the row has none.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "config/CaptionTable.h"
#include "engine/TapeChangeText.h"

namespace {

Scene Tape(const QString& memo) {
    Scene row;
    row.tapeChange = true;
    row.memo = memo;
    return row;
}

TEST(TapeChangeText, NamesTheNextTapeByItsMemoOrItsNumber) {
    CaptionTable captions;
    captions.SelectLanguage(9);
    ASSERT_TRUE(captions.LoadCaptions(QCoreApplication::applicationDirPath() + "/cw20.cpt"));
    const std::vector<Scene> rows = {Tape("Tape 1"), Scene{},  Tape(" Tape 2: birthday party "),
                                     Scene{},        Tape(""), Tape("  ")};
    const QString request =
        "Please change the tape in the player, then click OK. Stop ends the Auto Rec here; it can "
        "be resumed later.\n";
    EXPECT_EQ(TapeChangeText(rows, 2, captions), request + "Next: Tape 2: birthday party");
    EXPECT_EQ(TapeChangeText(rows, 4, captions), request + "Next: tape 3");
    EXPECT_EQ(TapeChangeText(rows, 5, captions), request + "Next: tape 4");
}

}  // namespace
