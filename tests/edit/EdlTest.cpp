// Edit decision lists: export then import gives the list back in every counting mode, EDLs
// written by hand after the CMX 3600 layout import as a user expects, and every refusal names its
// line. Arbitrary input is the EDL fuzz target's.
#include <gtest/gtest.h>

#include <QStringList>

#include "config/TextDecoding.h"
#include "edit/EdlFiles.h"
#include "edit/EdlParser.h"
#include "edit/EdlReelNames.h"
#include "edit/EdlWriter.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"
#include "tests/edit/SceneListFixtures.h"

namespace {

Scene Row(const QString& in, const QString& out, const QString& memo, int effect = 0,
          int transition = 0) {
    Scene row;
    row.inText = in;
    row.outText = out;
    row.memo = memo;
    row.effect = effect;
    row.transition = transition;
    return row;
}

Scene Tape(const QString& memo) {
    Scene row;
    row.tapeChange = true;
    row.memo = memo;
    return row;
}

// The rows as the list keeps them in `mode` (its frame separator).
QStringList ListRows(std::vector<Scene> rows, uint32_t mode) {
    SceneList list(mode);
    list.ReplaceRows(std::move(rows));
    return RowTexts(list);
}

EdlImport Parse(const QByteArray& text, uint32_t mode = Fps30) {
    return ParseEdl(text, mode, kLanguageEnglish);
}

// A list with what an EDL must carry back: memos of every kind, effects and transitions, tape
// changes in a row and at the end; `f` is a frame number that exists in the mode.
std::vector<Scene> RoundTripRows(const QString& f) {
    return {Tape("Holiday 2019"),
            Row("00:01:00:" + f, "00:01:10:00", "arrival", 3, 105),
            Row("00:20:00:00", "00:20:00:" + f, "  two blanks ahead, 日本語 after", 0, 117),
            Row("00:30:00:00", "00:30:05:00", ""),
            Tape("Holiday!"),
            Tape(""),
            Row("00:09:59:" + f, "00:10:00:04", "over a ten-minute mark", 5, 100),
            Tape("last tape, nothing after it")};
}

TEST(EdlRoundTrip, ExportThenImportGivesTheListBackInEveryMode) {
    for (const uint32_t mode : {Fps25, Fps30, Fps30Drop}) {
        SCOPED_TRACE(mode);
        SceneList list(mode);
        std::vector<Scene> rows = RoundTripRows(mode == Fps25 ? "24" : "29");
        list.ReplaceRows(rows);
        const EdlExport edl = WriteEdl(list, {"trip", DefaultEdlRecordStart(mode)});
        ASSERT_EQ(edl.result, EdlExport::Result::Written);
        EXPECT_EQ(edl.events, 4);

        const EdlImport back = ParseEdl(edl.bytes, mode, kLanguageEnglish);
        ASSERT_FALSE(back.refused()) << back.refusedLine << "\n" << edl.bytes.toStdString();
        EXPECT_EQ(ListRows(back.rows, mode), RowTexts(list)) << edl.bytes.toStdString();
        EXPECT_EQ(back.report.scenes, 4);
        EXPECT_EQ(back.report.tapes, 4);
        EXPECT_FALSE(back.report.frameCountModeDiffers);
    }
    // A drop-frame list may hold a label that the counting skips, typed in: the EDL names the
    // frame the program cues for it, and imports back.
    SceneList list(Fps30Drop);
    list.ReplaceRows({Tape(""), Row("00:03:00:00", "00:03:05:00", "")});
    const EdlImport back = ParseEdl(WriteEdl(list, {"t", DefaultEdlRecordStart(Fps30Drop)}).bytes,
                                    Fps30Drop, kLanguageEnglish);
    ASSERT_FALSE(back.refused());
    EXPECT_EQ(ListRows(back.rows, Fps30Drop)[1], "SCENE 00:02:59.28 00:03:05.00 e0 t0 []");
}

TEST(EdlWriter, WritesTheCmxLayoutWithReelsAndRecordTimesEndToEnd) {
    SceneList list(Fps30Drop);
    list.ReplaceRows({Tape("Holiday 2019"), Row("00:01:00.02", "00:01:10.00", "arrival"),
                      Row("00:05:00.00", "00:05:00.00", "no duration"), Tape("b"),
                      Row("00:09:59.28", "00:10:00.04", "")});
    const EdlExport edl = WriteEdl(list, {"My list", DefaultEdlRecordStart(Fps30Drop)});
    ASSERT_EQ(edl.result, EdlExport::Result::Written);
    EXPECT_EQ(edl.scenesWithoutDuration, 1);
    const QStringList lines = QString::fromUtf8(edl.bytes).split("\r\n");
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[0], "TITLE: My list");
    EXPECT_EQ(lines[1], "FCM: DROP FRAME");
    EXPECT_EQ(lines[4],
              "001  HOLIDAY_ V     C        00:01:00;02 00:01:10;00 01:00:00;00 01:00:09;28");
    EXPECT_EQ(lines[5], "* FROM CLIP NAME: arrival");
    // The second event starts where the first ended; 00:09:59;28 to 00:10:00;04 is 6 frames,
    // since minute 10 keeps its frames 00 and 01.
    EXPECT_EQ(lines[8],
              "002  B        V     C        00:09:59;28 00:10:00;04 01:00:09;28 01:00:10;04");

    SceneList empty(Fps25);
    EXPECT_EQ(WriteEdl(empty, {"x", 0}).result, EdlExport::Result::NothingToExport);
    // Record times need two digits of hours.
    SceneList late(Fps25);
    late.ReplaceRows({Tape(""), Row("00:01:00:00", "00:11:00:00", "")});
    Timecode start{99, 55, 0, 0, Fps25, {}};
    EXPECT_EQ(WriteEdl(late, {"x", TimecodeToFrames(start)}).result,
              EdlExport::Result::RecordBeyondLimit);
}

TEST(EdlReelNames, ValidUniqueAndNeverReserved) {
    EXPECT_EQ(ReelNamesForTapes(
                  {"Holiday 2019", "", "tape 2", "BL", "holiday-2019 b", "TAPE06", "日本", "Ax"}),
              QStringList({"HOLIDAY_", "TAPE02", "TAPE_2", "TAPE04", "TAPE05", "TAPE06", "TAPE07",
                           "TAPE08"}));
    // A memo that takes a later tape's number pushes that tape to the next free one.
    EXPECT_EQ(ReelNamesForTapes({"tape02", ""}), QStringList({"TAPE02", "TAPE03"}));
}

// Two reels, a dissolve between them, audio-only and black events, an M2 line, comments, blank
// lines, an event without clip name, and one from the reel editors write for a file without tape
// whose clip name holds a tab (a blank in the list, as saving would make it).
const QByteArray kEditorEdl =
    "TITLE: Beach trip\r\n"
    "FCM: NON-DROP FRAME\r\n"
    "\r\n"
    "001  CAM1     V     C        00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n"
    "* FROM CLIP NAME: arrival.mov\r\n"
    "* COMMENT: first shot\r\n"
    "002  CAM1     A     C        00:01:05:00 00:01:10:00 01:00:05:00 01:00:10:00\r\n"
    "003  CAM1     V     C        00:01:05:00 00:01:05:00 01:00:05:00 01:00:05:00\r\n"
    "003  CAM2     V     D    030 00:10:00:00 00:10:04:00 01:00:05:00 01:00:09:00\r\n"
    "* FROM CLIP NAME: arrival.mov\r\n"
    "* TO CLIP NAME: waves.mov\r\n"
    "M2   CAM2       015.0                00:10:00:00\r\n"
    "004  CAM2     AA/V  C        00:11:00:00 00:11:02:15 01:00:09:00 01:00:11:15\r\n"
    "\r\n"
    "005  CAM1     B     W001 020 00:03:00:00 00:03:01:00 01:00:11:15 01:00:12:15\r\n"
    "* FROM CLIP NAME: \x93\xfa\x96\x7b.mov\r\n"
    "006  BL       V     C        00:00:00:00 00:00:02:00 01:00:12:15 01:00:14:15\r\n"
    "007  CAM1     A2    C        00:04:00:00 00:04:01:00 01:00:14:15 01:00:15:15\r\n"
    "008  AX       V     C        00:05:00:00 00:05:01:00 01:00:15:15 01:00:16:15\r\n"
    "* FROM CLIP NAME: sun\tset.mov\r\n";

TEST(EdlParser, AnEditorsListImportsAsTheUserExpects) {
    const EdlImport edl = ParseEdl(kEditorEdl, Fps30, kLanguageJapanese);
    ASSERT_FALSE(edl.refused()) << edl.refusedLine;
    EXPECT_EQ(RowTexts(edl.rows),
              RowTexts({Tape("CAM1"), Row("00:01:00:00", "00:01:05:00", "arrival.mov"),
                        Tape("CAM2"), Row("00:10:00:00", "00:10:04:00", "waves.mov"),
                        Row("00:11:00:00", "00:11:02:15", "CAM2"), Tape("CAM1"),
                        Row("00:03:00:00", "00:03:01:00", "日本.mov"), Tape("AX"),
                        Row("00:05:00:00", "00:05:01:00", "sun set.mov")}));
    const EdlImportReport& r = edl.report;
    EXPECT_EQ(r.scenes, 5);
    EXPECT_EQ(r.tapes, 4);
    EXPECT_EQ(r.audioOnlyEvents, 2);
    EXPECT_EQ(r.eventsWithoutDuration, 0);  // the dissolve's empty cut is half of event 003
    EXPECT_EQ(r.blackEvents, 1);
    EXPECT_EQ(r.commentLines, 1);
    EXPECT_EQ(r.speedLines, 1);
    EXPECT_EQ(r.frameCountMode, EdlImportReport::FrameCountMode::NonDrop);
    EXPECT_FALSE(r.frameCountModeDiffers);
}

// LF line ends, drop-frame ';', events out of record order, a split edit and an empty event.
const QByteArray kDropFrameEdl =
    "TITLE: drop\n"
    "FCM: DROP FRAME\n"
    "002  TAPE_B   V     C        00:10:00;00 00:10:02;00 01:00:00;04 01:00:02;04\n"
    "001  TAPE_A   V     C        00:00:59;28 00:01:00;04 01:00:00;00 01:00:00;04\n"
    "SPLIT:    AUDIO DELAY=  00:00:00:05\n"
    "003  TAPE_B   V     C        00:20:00;00 00:20:00;00 01:00:02;04 01:00:02;04\n";

TEST(EdlParser, DropFrameTimecodesKeepTheirLabelsInTheProgramsMode) {
    const EdlImport drop = Parse(kDropFrameEdl, Fps30Drop);
    ASSERT_FALSE(drop.refused()) << drop.refusedLine;
    const std::vector<Scene> expected = {
        Tape("TAPE_A"), Row("00:00:59:28", "00:01:00:04", "TAPE_A"), Tape("TAPE_B"),
        Row("00:10:00:00", "00:10:02:00", "TAPE_B")};
    EXPECT_EQ(ListRows(drop.rows, Fps30Drop), ListRows(expected, Fps30Drop));
    SceneList list(Fps30Drop);
    list.ReplaceRows(drop.rows);
    EXPECT_EQ(list.row(1).durationFrames, 4);
    EXPECT_EQ(drop.report.splitLines, 1);
    EXPECT_EQ(drop.report.eventsWithoutDuration, 1);
    EXPECT_FALSE(drop.report.frameCountModeDiffers);

    // In non-drop counting the labels stay as written, and the report tells of the difference.
    const EdlImport nonDrop = Parse(kDropFrameEdl, Fps30);
    ASSERT_FALSE(nonDrop.refused());
    EXPECT_EQ(ListRows(nonDrop.rows, Fps30), ListRows(expected, Fps30));
    EXPECT_TRUE(nonDrop.report.frameCountModeDiffers);

    // At 25 frames a second, frame 28 does not exist.
    const EdlImport pal = Parse(kDropFrameEdl, Fps25);
    EXPECT_EQ(pal.refusal, EdlRefusal::FramesBeyondRate);
    EXPECT_EQ(pal.refusedLine, 4);
    EXPECT_TRUE(pal.rows.empty());
}

TEST(EdlParser, EveryRefusalNamesItsLine) {
    const QByteArray head = "TITLE: x\r\n* note\r\n";
    const QByteArray good = "001  A V C 00:10:00:00 00:10:05:00 01:00:00:00 01:00:05:00\r\n";
    const struct {
        QByteArray line;
        EdlRefusal refusal;
        uint32_t mode = Fps30;
    } cases[] = {
        {"002  A V C 00:01:00:00 00:01:05:00 01:00:00:00\r\n", EdlRefusal::EventLine},
        {"002  A Q C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n", EdlRefusal::EventLine},
        {"002  A V X 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n", EdlRefusal::EventLine},
        {"002  A V C 00:61:00:00 00:61:05:00 01:00:00:00 01:00:05:00\r\n", EdlRefusal::EventLine},
        {"002  A V C 00:01:00-00 00:01:05:00 01:00:00:00 01:00:05:00\r\n", EdlRefusal::EventLine},
        {"2nd  A V C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n", EdlRefusal::EventLine},
        {"002  A V C 00:01:00:30 00:01:05:00 01:00:00:00 01:00:05:00\r\n",
         EdlRefusal::FramesBeyondRate},
        {"002  A V C 00:01:05:00 00:01:00:00 01:00:00:00 01:00:05:00\r\n", EdlRefusal::OutBeforeIn},
        // Labels that drop-frame counting skips, written as drop frame or read in it.
        {"002  A V C 00:01:00;00 00:01:05;00 01:00:00;02 01:00:05;02\r\n",
         EdlRefusal::SkippedDropFrameLabel},
        {"002  A V C 00:09:00:02 00:09:05:00 01:00:00:00 01:11:00:01\r\n",
         EdlRefusal::SkippedDropFrameLabel, Fps30Drop},
    };
    for (const auto& c : cases) {
        const EdlImport edl = Parse(head + good + c.line + good, c.mode);
        EXPECT_EQ(edl.refusal, c.refusal) << c.line.toStdString();
        EXPECT_EQ(edl.refusedLine, 4) << c.line.toStdString();
        EXPECT_TRUE(edl.rows.empty());
    }
    // Nothing that would become a scene: most likely not an EDL at all.
    const EdlImport audio =
        Parse(head + "001  A A C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\r\n");
    EXPECT_EQ(audio.refusal, EdlRefusal::NoVideoEvent);
    EXPECT_EQ(Parse("TCMode\t000\r\nScenes\t001\r\n").refusal, EdlRefusal::NoVideoEvent);
    EXPECT_EQ(Parse(QByteArray(kMaxEdlBytes + 1, ' ')).refusal, EdlRefusal::TooLarge);
}

TEST(EdlParser, MoreEventsThanTheListHoldsAreCountedAsLeftOut) {
    QByteArray edl = "FCM: NON-DROP FRAME\n";
    for (int e = 1; e <= 120; ++e) {
        edl += QStringLiteral("%1  A V C 00:%2:00:00 00:%2:01:00 01:%2:00:00 01:%2:01:00\n")
                   .arg(e, 3, 10, QChar('0'))
                   .arg(e % 60, 2, 10, QChar('0'))
                   .toLatin1();
    }
    const EdlImport back = Parse(edl);
    ASSERT_FALSE(back.refused());
    EXPECT_EQ(back.rows.size(), 100u);
    EXPECT_EQ(back.report.scenes, 99);
    EXPECT_EQ(back.report.eventsLeftOut, 21);
}

TEST(EdlFiles, AnAppliedImportKeepsMemosToTheProjectLimitAndIsUnsaved) {
    const EdlImport edl =
        Parse("001  A V C 00:01:00:00 00:01:05:00 01:00:00:00 01:00:05:00\n* FROM CLIP NAME: " +
              QByteArray(400, 'm') + "\n");
    ASSERT_FALSE(edl.refused());
    SceneList list(Fps30);
    ApplyEdlImport(list, edl);
    EXPECT_EQ(list.row(1).memo, QString(ProjectFiles::kMaxMemoCharacters, u'm'));
    EXPECT_TRUE(list.modified());
}

}  // namespace
