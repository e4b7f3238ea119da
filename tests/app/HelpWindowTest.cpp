// The help pages of both languages and the help window's contents and keyword search.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "config/CaptionTable.h"
#include "config/HelpIndex.h"
#include "config/ProgramFolder.h"
#include "config/TextDecoding.h"
#include "ui/HelpWindow.h"

namespace {

QString SuppliedHelp(const char* language) {
    return QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("help/") + language);
}

}  // namespace

TEST(HelpIndexTest, BothLanguagesHaveTheSamePagesAndEveryPageHasKeywords) {
    const HelpIndex english = HelpIndex::Load(SuppliedHelp("en"));
    const HelpIndex japanese = HelpIndex::Load(SuppliedHelp("ja"));
    ASSERT_GE(english.pages().size(), 4);
    ASSERT_EQ(english.pages().size(), japanese.pages().size());
    for (int i = 0; i < english.pages().size(); ++i) {
        EXPECT_EQ(english.pages()[i].file, japanese.pages()[i].file);
        EXPECT_FALSE(japanese.pages()[i].title.isEmpty());
        for (const HelpIndex* index : {&english, &japanese}) {
            const QString file = index->pages()[i].file;
            const bool hasKeyword =
                std::any_of(index->keywords().begin(), index->keywords().end(),
                            [&](const HelpKeyword& k) { return k.file == file; });
            EXPECT_TRUE(hasKeyword) << file.toStdString();
        }
    }
    EXPECT_EQ(english.pages()[1].title, "The main window");
}

TEST(HelpIndexTest, ReadsLinksInOrderAndKeywordsSortedWithoutCase) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& text) {
        QFile file(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("contents.html",
          "<a href=\"b.html\">Second &amp; more</a> <a href=\"https://x/y.html\">out</a>"
          "<A HREF=\"a.html\">First</A> <a href=\"missing.html\">Gone</a>");
    write("a.html", "<meta name=\"keywords\" content=\"zebra, apple\">");
    write("b.html", "<meta name=\"keywords\" content=\"Banana,, \">");
    const HelpIndex index = HelpIndex::Load(dir.path());
    ASSERT_EQ(index.pages().size(), 3);
    EXPECT_EQ(index.pages()[0].title, "Second & more");
    EXPECT_EQ(index.pages()[1].file, "a.html");
    QStringList words;
    for (const HelpKeyword& k : index.keywords())
        words << k.keyword;
    EXPECT_EQ(words, (QStringList{"apple", "Banana", "zebra"}));
    EXPECT_TRUE(HelpIndex::Load(QDir(dir.path()).filePath("none")).pages().isEmpty());
}

TEST(HelpWindowTest, ContentsFitAndKeywordSearchFiltersAndShowsThePage) {
    QTemporaryDir home;
    CaptionTable captions;
    captions.SelectLanguage(kLanguageJapanese);
    const ProgramFolder folder(home.path(), {QApplication::applicationDirPath()});
    captions.LoadCaptions(folder.SuppliedFile("cw20.cpt"));
    HelpWindow help(folder, captions);
    EXPECT_EQ(help.windowTitle(), "Clipwrightヘルプ");

    help.ShowContents();
    EXPECT_EQ(help.currentPage(), "contents.html");
    EXPECT_TRUE(help.browser()->toPlainText().contains("目次"));
    // The contents pane shows its longest entry whole.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_GE(help.contentsList()->viewport()->width(), help.contentsList()->sizeHintForColumn(0));

    help.ShowKeywordSearch();
    const int all = help.keywordList()->count();
    QTest::keyClicks(help.keywordField(), "cwf");
    EXPECT_LT(help.keywordList()->count(), all);
    ASSERT_GE(help.keywordList()->count(), 1);
    QTest::keyClick(help.keywordField(), Qt::Key_Return);
    EXPECT_EQ(help.currentPage(), "projectfiles.html");

    // Opening the search again starts with an empty field and the whole list.
    help.ShowKeywordSearch();
    EXPECT_TRUE(help.keywordField()->text().isEmpty());
    EXPECT_EQ(help.keywordList()->count(), all);
}

TEST(HelpWindowTest, EscapeAndCtrlWCloseTheWindow) {
    QTemporaryDir home;
    CaptionTable captions;
    const ProgramFolder folder(home.path(), {QApplication::applicationDirPath()});
    HelpWindow help(folder, captions);
    for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
        help.ShowKeywordSearch();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
        QTest::keyClick(help.keywordField(), keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(help.isVisible()) << QKeySequence(keys).toString().toStdString();
    }
}
