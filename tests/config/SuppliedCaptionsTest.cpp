// Checks the caption and style files supplied with the program, as copied beside the executables.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "config/CaptionTable.h"

namespace {

const QStringList kProgramKeys = {
    "TI_MAIN",      "TI_CTL",         "TI_CRCT",     "TI_OPT",       "TI_DEVSEL",  "CTL_WIN",
    "MB_TI_CLOSE",  "MB_TI_SCAN",     "MSG_SAVE1",   "MSG_SAVE2",    "MSG_CLOSE",  "MSG_DEL_ONE",
    "MSG_DEL_MANY", "MSG_EFFECT_NG1", "MSG_PICNG",   "FL_PGM",       "MSG_INPUT",  "MSG_NODISK",
    "MSG_SAVEOW1",  "MSG_SAVEOW2",    "MSG_AUTOEND", "MSG_AUTOSTOP", "MSG_TAPECH", "TX_NODEV",
    "CB_NOUSE",     "LB_CAT",         "LB_NO",       "LB_NAME",      "LB_NOTCONN", "MNU_SCAN",
    "MNU_IDCH",     "SG_MOVIE",       "SG_PRINTER",  "SG_UNKNOWN"};

QString Supplied(const char* name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

QByteArray ReadSupplied(const char* name) {
    QFile file(Supplied(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The texts that report on edit decision lists.
const QStringList kEdlKeys = {"FL_EDL",           "MSG_EDL_REFUSED",   "MSG_EDL_LINE",
                              "MSG_EDL_EVENT",    "MSG_EDL_FRAMES",    "MSG_EDL_OUTIN",
                              "MSG_EDL_NOVIDEO",  "MSG_EDL_TOOBIG",    "MSG_EDL_IMPORTED",
                              "MSG_EDL_SCENES",   "MSG_EDL_TAPES",     "MSG_EDL_AUDIO",
                              "MSG_EDL_EMPTY",    "MSG_EDL_BLACK",     "MSG_EDL_KEYS",
                              "MSG_EDL_COMMENTS", "MSG_EDL_SPEEDS",    "MSG_EDL_SPLITS",
                              "MSG_EDL_OTHER",    "MSG_EDL_DFLABEL",   "MSG_WRITEFAIL",
                              "MSG_TAPECH_NEXT",  "MSG_TAPECH_NTH",    "MSG_EDL_LEFTOUT",
                              "MSG_EDL_FCMDF",    "MSG_EDL_FCMNDF",    "MSG_EDL_NOSCENE",
                              "MSG_EDL_RECEND",   "MSG_EDL_NODUR_ONE", "MSG_EDL_NODUR_MANY"};

// The texts of the deck measurement and of an Auto Rec's verification report.
const QStringList kCheckKeys = {"MSG_CALIB_ASK",
                                "MSG_CALIB_DONE",
                                "MSG_CALIB_FAIL",
                                "MSG_CALIB_NOREC",
                                "MSG_CALIB_NOPLAYER",
                                "MB_TI_CALIB",
                                "TI_VERIFY",
                                "VF_SCENE",
                                "VF_ROW",
                                "VF_EXPECTED",
                                "VF_RECORDED",
                                "VF_DIFF",
                                "VF_SEAM",
                                "VF_NOREAD",
                                "VF_RESUMED",
                                "VF_UNDERRETAKE",
                                "VF_STRAY",
                                "VF_STRAYS",
                                "MSG_VERIFY_LONGER",
                                "MSG_VERIFY_SHORTER",
                                "MSG_VERIFY_START",
                                "MSG_VERIFY_STORE",
                                "FL_TEXT"};

// The line that says why an operation stopped: its frames, decks, steps and causes.
const QStringList kStopKeys = {"WHY_FMT1",    "WHY_FMT2",       "WHY_PLAYER",     "WHY_RECORDER",
                               "WHY_START",   "WHY_CUE",        "WHY_SEARCH",     "WHY_TOSCENE",
                               "WHY_PAUSEAT", "WHY_INPOINT",    "WHY_TRANSITION", "WHY_OUTPOINT",
                               "WHY_RUNON",   "WHY_TAPECHANGE", "WHY_PLACE_STEP", "WHY_USER",
                               "WHY_SIGNAL",  "WHY_NOANSWER",   "WHY_REFUSED",    "WHY_TAPEEND",
                               "WHY_PLACE",   "WHY_PORT",       "WHY_NOSCENE"};

QStringList AllKeys() {
    QStringList keys = kProgramKeys + kEdlKeys + kCheckKeys + kStopKeys;
    for (int i = 0; i < 24; ++i)
        keys << QStringLiteral("EF_BTN%1").arg(i, 2, 10, QChar(u'0'));
    return keys;
}

// The rules the parser does not forgive: a line without CR loses its last column, an empty
// line hides every control entry after it, a missing column shifts the languages.
void ExpectWellFormedLines(const char* name, int columns) {
    const QByteArray bytes = ReadSupplied(name);
    ASSERT_FALSE(bytes.isEmpty()) << name;
    EXPECT_TRUE(bytes.endsWith("\r\n")) << name;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        EXPECT_TRUE(line.endsWith('\r')) << name << " line " << i + 1;
        if (line.startsWith("$$"))
            continue;
        EXPECT_NE(line, "\r") << name << " line " << i + 1 << " is empty";
        EXPECT_EQ(line.count('\t'), columns - 1) << name << " line " << i + 1;
        // A text longer than its field is dropped when read: the window would show nothing.
        for (const QByteArray& column : line.split('\t'))
            EXPECT_LE(column.trimmed().size(), CaptionTable::kTextBytes)
                << name << " line " << i + 1;
    }
}

TEST(SuppliedCaptionsTest, FilesFollowTheLineAndColumnRules) {
    ExpectWellFormedLines("cw20.cpt", 8);
    ExpectWellFormedLines("cw20.sty", 4);
}

TEST(SuppliedCaptionsTest, EveryProgramTextExistsInEveryLanguage) {
    for (const int language : {kLanguageEnglish, kLanguageFrench, kLanguageJapanese}) {
        CaptionTable table;
        table.SelectLanguage(language);
        ASSERT_TRUE(table.LoadCaptions(Supplied("cw20.cpt")));
        QStringList texts;
        for (const QString& key : AllKeys()) {
            const QString text = table.CaptionText(key);
            EXPECT_FALSE(text.trimmed().isEmpty()) << key.toStdString() << " in " << language;
            texts << text;
        }
        // Every toolbar button has a name of its own.
        const QStringList buttons =
            texts.mid(kProgramKeys.size() + kEdlKeys.size() + kCheckKeys.size() + kStopKeys.size());
        EXPECT_EQ(QSet<QString>(buttons.begin(), buttons.end()).size(), 24) << language;
    }
}

TEST(SuppliedCaptionsTest, JapaneseTextsAreJapaneseAndStylesNamedByCaptionsExist) {
    CaptionTable table;
    table.SelectLanguage(kLanguageJapanese);
    ASSERT_TRUE(table.LoadCaptions(Supplied("cw20.cpt")));
    ASSERT_TRUE(table.LoadStyles(Supplied("cw20.sty")));
    EXPECT_EQ(table.CaptionText("MSG_CLOSE"), "Clipwrightを終了しますか？");
    for (int i = 0; i < table.CaptionCount(); ++i) {
        const QString& style = table.Caption(i).styleName;
        if (style.isEmpty() || style == "HINT")
            continue;
        EXPECT_GT(table.FindStyle(style), 0) << style.toStdString();
    }
    EXPECT_TRUE(table.Style(0).KeepsWindowFont());
}

}  // namespace
