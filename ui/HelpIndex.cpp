#include "ui/HelpIndex.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include "edit/TextDecoding.h"

namespace {

QString ReadPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Link texts may hold entities or markup; the contents list shows plain text.
QString PlainText(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

QStringList PageKeywords(const QString& html) {
    static const QRegularExpression meta(
        QStringLiteral(R"re(<meta\s+name="keywords"\s+content="([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = meta.match(html);
    if (!match.hasMatch())
        return {};
    QStringList keywords;
    for (const QString& keyword : match.captured(1).split(u','))
        if (!keyword.trimmed().isEmpty())
            keywords << PlainText(keyword);
    return keywords;
}

}  // namespace

HelpIndex HelpIndex::Load(const QString& folder) {
    HelpIndex index;
    const QDir dir(folder);
    const QString contents = ReadPage(dir.filePath(QLatin1String(kContentsPage)));
    static const QRegularExpression link(
        QStringLiteral(R"re(<a\s+href="([^"#:]+\.html)"\s*>(.*?)</a>)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    for (auto it = link.globalMatch(contents); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const HelpPage page{match.captured(1), PlainText(match.captured(2))};
        index.pages_ << page;
        for (const QString& keyword : PageKeywords(ReadPage(dir.filePath(page.file))))
            index.keywords_ << HelpKeyword{keyword, page.file, page.title};
    }
    std::stable_sort(index.keywords_.begin(), index.keywords_.end(),
                     [](const HelpKeyword& a, const HelpKeyword& b) {
                         return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
                     });
    return index;
}

QString HelpLanguageFolder(int languageCode) {
    return languageCode == kLanguageJapanese ? QStringLiteral("ja") : QStringLiteral("en");
}
