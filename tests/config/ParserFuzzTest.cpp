// Random and mutated input for the caption, style and profile parsers: nothing may crash (the
// suite runs under AddressSanitizer), and what they accept must keep their own rules.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/FuzzBytes.h"
#include "config/CaptionTable.h"
#include "config/ProfileFile.h"

namespace {

constexpr unsigned kSeed = 20240607;
constexpr int kRounds = 400;

// Mostly the bytes the formats give meaning to, so that the structure is really exercised.
const QByteArray kSpecial("\t\r\n$[]=;\" Aa\0\x83\xff\xe3", 16);

QByteArray Supplied(const char* name) {
    QFile file(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ExpectFieldsWithinCapacity(const CaptionTable& table) {
    // A decoded text never has more characters than the bytes it came from.
    for (int i = 0; i < table.CaptionCount(); ++i) {
        const CaptionEntry& e = table.Caption(i);
        ASSERT_LE(e.owner.size(), CaptionTable::kOwnerBytes);
        ASSERT_LE(e.name.size(), CaptionTable::kNameBytes);
        ASSERT_LE(e.text.size(), CaptionTable::kTextBytes);
        ASSERT_LE(e.styleName.size(), CaptionTable::kStyleNameBytes);
    }
    for (int i = 0; i < table.StyleCount(); ++i) {
        ASSERT_LE(table.Style(i).size.size(), CaptionTable::kSizeBytes);
        ASSERT_LE(table.Style(i).fontName.size(), CaptionTable::kFontNameBytes);
        ASSERT_LE(table.Style(i).PointSize(), 99);
    }
}

void Exercise(const CaptionTable& table) {
    table.CaptionText("TI_MAIN");
    table.FindComponentEntry({"frmEDS", "", "lblIn"});
    table.FindStyle(table.StyleCount() > 1 ? table.Style(1).name : "x");
}

TEST(ParserFuzzTest, CaptionAndStyleParsersSurviveRandomAndMutatedFiles) {
    FuzzBytes bytes(kSeed, kSpecial);
    const QByteArray captions = Supplied("cw20.cpt");
    const QByteArray styles = Supplied("cw20.sty");
    ASSERT_FALSE(captions.isEmpty());
    for (int round = 0; round < kRounds; ++round) {
        for (const int language : {kLanguageEnglish, kLanguageJapanese}) {
            CaptionTable table;
            table.SelectLanguage(language);
            table.ParseCaptions(round % 2 ? bytes.Random(2000) : bytes.Mutated(captions));
            table.ParseStyles(round % 2 ? bytes.Random(500) : bytes.Mutated(styles));
            ExpectFieldsWithinCapacity(table);
            Exercise(table);
        }
    }
}

TEST(ParserFuzzTest, ProfileFilesOfAnyContentStillStoreAndKeepValues) {
    FuzzBytes bytes(kSeed + 1, kSpecial);
    QTemporaryDir dir;
    const QString path = dir.filePath("cw20.ini");
    const QByteArray sample = "; settings\r\n[Setup]\r\nFrameMode=1\r\n\r\n[INIT]\r\nCODE=530\r\n";
    const QStringList sections = {"Setup", "INIT", "a", "["};
    const QStringList keys = {"FrameMode", "CODE", "A", "k"};
    for (int round = 0; round < kRounds; ++round) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(round % 2 ? bytes.Random(600) : bytes.Mutated(sample));
        file.close();
        const ProfileFile profile(path, round % 3 ? kLanguageEnglish : kLanguageJapanese);
        const QString section = sections[bytes.Pick(0, static_cast<int>(sections.size()) - 1)];
        const QString key = keys[bytes.Pick(0, static_cast<int>(keys.size()) - 1)];
        std::map<std::pair<QString, QString>, std::optional<QString>> before;
        for (const QString& s : sections) {
            for (const QString& k : keys)
                before[{s, k}] = profile.Read(s, k);
        }
        const QString value = QStringLiteral("v%1").arg(round);
        if (!profile.Write(section, key, value)) {
            // Only a section name the file format cannot hold is refused.
            ASSERT_EQ(section, "[");
            continue;
        }
        for (const auto& [name, old] : before) {
            const std::optional<QString> now = profile.Read(name.first, name.second);
            if (name.first.compare(section, Qt::CaseInsensitive) == 0 &&
                name.second.compare(key, Qt::CaseInsensitive) == 0) {
                ASSERT_EQ(now, value) << "round " << round;
            } else {
                ASSERT_EQ(now, old) << "round " << round;
            }
        }
    }
}

}  // namespace
