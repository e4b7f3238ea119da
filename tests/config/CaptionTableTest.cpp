#include "config/CaptionTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// One caption line with CR LF: owner, name, then text and style for languages 9, 12 and 17.
QByteArray Line(const QByteArray& owner, const QByteArray& name, const QByteArray& english,
                const QByteArray& french = "fr", const QByteArray& japanese = "ja") {
    return owner + '\t' + name + '\t' + english + "\tStyleE\t" + french + "\tStyleF\t" + japanese +
           "\tStyleJ\r\n";
}

CaptionTable TableFor(int language, const QByteArray& captions) {
    CaptionTable table;
    table.SelectLanguage(language);
    table.ParseCaptions(captions);
    return table;
}

TEST(CaptionTableTest, EachLanguageTakesItsOwnColumnPairAndLegacyJapaneseIsShiftJis) {
    const QByteArray file =
        Line("PrgLevel", "TI_MAIN", "Clipwright", "Clipwright FR", "クリップライト");
    const CaptionTable english = TableFor(kLanguageEnglish, file);
    EXPECT_EQ(english.CaptionText("TI_MAIN"), "Clipwright");
    EXPECT_EQ(english.Caption(0).styleName, "StyleE");
    const CaptionTable french = TableFor(kLanguageFrench, file);
    EXPECT_EQ(french.CaptionText("TI_MAIN"), "Clipwright FR");
    EXPECT_EQ(french.Caption(0).styleName, "StyleF");
    const CaptionTable japanese = TableFor(kLanguageJapanese, file);
    EXPECT_EQ(japanese.CaptionText("TI_MAIN"), "クリップライト");
    EXPECT_EQ(japanese.Caption(0).styleName, "StyleJ");

    // A legacy Japanese column in Shift-JIS ("テープ"); the English one stays plain.
    const QByteArray legacy =
        Line("PrgLevel", "MSG_TAPECH", "Tape", "Bande", "\x83\x65\x81\x5b\x83\x76");
    EXPECT_EQ(TableFor(kLanguageJapanese, legacy).CaptionText("MSG_TAPECH"), "テープ");
    EXPECT_EQ(TableFor(kLanguageEnglish, legacy).CaptionText("MSG_TAPECH"), "Tape");
}

TEST(CaptionTableTest, CountedTextsTakeTheSingularForOneAndInFrenchForNone) {
    const QByteArray file = Line("PrgLevel", "MSG_DEL_ONE", "%1 row", "%1 ligne") +
                            Line("PrgLevel", "MSG_DEL_MANY", "%1 rows", "%1 lignes");
    const CaptionTable english = TableFor(kLanguageEnglish, file);
    EXPECT_EQ(english.CountedText("MSG_DEL", 0), "0 rows");
    EXPECT_EQ(english.CountedText("MSG_DEL", 1), "1 row");
    EXPECT_EQ(english.CountedText("MSG_DEL", 2), "2 rows");
    const CaptionTable french = TableFor(kLanguageFrench, file);
    EXPECT_EQ(french.CountedText("MSG_DEL", 0), "0 ligne");
    EXPECT_EQ(french.CountedText("MSG_DEL", 1), "1 ligne");
    EXPECT_EQ(french.CountedText("MSG_DEL", 2), "2 lignes");
}

TEST(CaptionTableTest, LinesEndAtLineFeedsAndWithoutACarriageReturnLoseTheirLastColumn) {
    QByteArray file = Line("PrgLevel", "A", "a");
    file.replace("\r\n", "\n");
    const CaptionTable japanese = TableFor(kLanguageJapanese, file);
    EXPECT_EQ(japanese.CaptionText("A"), "ja");
    EXPECT_EQ(japanese.Caption(0).styleName, "");
    // A short English line loses its English style name the same way.
    const CaptionTable english = TableFor(kLanguageEnglish, "PrgLevel\tB\tb\tStyleE\n");
    EXPECT_EQ(english.CaptionText("B"), "b");
    EXPECT_EQ(english.Caption(0).styleName, "");
    // Text after the last line feed forms no line.
    const CaptionTable cut = TableFor(
        kLanguageEnglish, Line("PrgLevel", "A", "a") + Line("PrgLevel", "B", "b").chopped(1));
    EXPECT_EQ(cut.CaptionCount(), 1);
    EXPECT_EQ(cut.CaptionText("B"), "");
}

TEST(CaptionTableTest, CommentsTakeNoEntryAndAnEmptyLineEndsComponentLookups) {
    const CaptionTable table =
        TableFor(kLanguageEnglish, "$$ comment\r\n" + Line("frmEDS", "lblIn", "In Point") + "\r\n" +
                                       Line("frmEDS", "lblOut", "Out Point") +
                                       Line("PrgLevel", "TI_MAIN", "Clipwright"));
    EXPECT_EQ(table.CaptionCount(), 4);
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", "lblIn"}), 0);
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", "lblOut"}), -1);
    EXPECT_EQ(table.CaptionText("TI_MAIN"), "Clipwright");
}

TEST(CaptionTableTest, ComponentsMatchByWindowByWindowOwnerOrByTheirOwnName) {
    const CaptionTable table =
        TableFor(kLanguageEnglish,
                 Line("frmEDS", "btnOk", "first") + Line("frmEDS", "btnOk", "second") +
                     Line("Clipwright", "btnHelp", "help") + Line("mnuFile", "anything", "File") +
                     Line("PrgLevel", "btnCancel", "program text"));
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", "btnOk"}), 0);
    EXPECT_EQ(table.FindComponentEntry({"frmOption", "", "btnOk"}), -1);
    EXPECT_EQ(table.FindComponentEntry({"frmOption", "Clipwright", "btnHelp"}), 2);
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", "mnuFile"}), 3);
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", "btnCancel"}), -1);
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", ""}), -1);
    EXPECT_EQ(table.CaptionText("btnOk"), "");
}

TEST(CaptionTableTest, AColumnTooLongForItsFieldIsDroppedAndTheRestIsRead) {
    const CaptionTable table =
        TableFor(kLanguageEnglish, Line("PrgLevel", "LONG", QByteArray(200, 'x')) +
                                       Line("PrgLevel", "FITS", QByteArray(199, 'y')) +
                                       Line(QByteArray(100, 'o'), "lblIn", "In") +
                                       Line("frmEDS", "lblIn", "In"));
    EXPECT_EQ(table.CaptionText("LONG"), "");
    EXPECT_EQ(table.Caption(0).styleName, "StyleE");
    EXPECT_EQ(table.CaptionText("FITS"), QString(199, u'y'));
    // The dropped owner leaves an empty one, which ends component lookups there.
    EXPECT_EQ(table.FindComponentEntry({"frmEDS", "", "lblIn"}), -1);
}

TEST(CaptionTableTest, StylesAreFoundByNameAndTheFirstLineStandsForNone) {
    CaptionTable table;
    table.ParseStyles(
        "$$ styles\r\nBase\tSans\t9\tfalse\r\nBig\tSerif\t12\ttrue\r\nBig\tOther\t1\r\n"
        "Odd\tSans\t1x\r\nHuge\tSans\t123\r\n");
    ASSERT_EQ(table.StyleCount(), 5);
    EXPECT_EQ(table.FindStyle("Big"), 1);
    EXPECT_EQ(table.FindStyle("Base"), 0);
    EXPECT_EQ(table.FindStyle("missing"), 0);
    EXPECT_EQ(table.Style(1).PointSize(), 12);
    EXPECT_TRUE(table.Style(1).IsBold());
    EXPECT_EQ(table.Style(3).PointSize(), 1);
    EXPECT_EQ(table.Style(4).PointSize(), 0);  // three digits do not fit the size field
}

TEST(CaptionTableTest, AFileThatCannotBeReadLeavesTheTableAsItWas) {
    QTemporaryDir dir;
    CaptionTable table;
    table.ParseCaptions(Line("PrgLevel", "TI_MAIN", "Clipwright"));
    EXPECT_FALSE(table.LoadCaptions(dir.filePath("missing.cpt")));
    EXPECT_FALSE(table.LoadStyles(dir.path()));
    EXPECT_EQ(table.CaptionText("TI_MAIN"), "Clipwright");

    QFile file(dir.filePath("cw20.cpt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Line("PrgLevel", "TI_MAIN", "Replaced"));
    file.close();
    EXPECT_TRUE(table.LoadCaptions(file.fileName()));
    EXPECT_EQ(table.CaptionText("TI_MAIN"), "Replaced");
}

}  // namespace
