// The index of the help pages of one language: the contents (the pages that the contents page
// links to, in its order, with the link texts as titles) and the keywords that each page names
// in its <meta name="keywords"> line. A later window adds its page by linking it from
// contents.html and listing its keywords in the page.
#pragma once

#include <QList>
#include <QString>

struct HelpPage {
    QString file;   // file name inside the help folder
    QString title;  // the contents page's link text
};

struct HelpKeyword {
    QString keyword;
    QString file;
    QString pageTitle;
};

class HelpIndex {
public:
    static constexpr const char* kContentsPage = "contents.html";

    // Reads contents.html and the pages it links to in `folder`; missing files give an empty
    // index or no keywords for that page.
    static HelpIndex Load(const QString& folder);

    const QList<HelpPage>& pages() const { return pages_; }
    // Every keyword of every page, sorted without regard to case.
    const QList<HelpKeyword>& keywords() const { return keywords_; }

private:
    QList<HelpPage> pages_;
    QList<HelpKeyword> keywords_;
};

// The help folder name for a caption language: "ja" for Japanese, else "en".
QString HelpLanguageFolder(int languageCode);
