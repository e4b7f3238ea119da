#include "config/HelpIndex.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include "config/TextDecoding.h"

namespace {

QString ReadPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// One character reference (&amp; &#233; &#xE9;) as text, or the reference itself when unknown.
QString DecodeEntity(const QString& name) {
    static const QHash<QString, QString> named{
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QStringLiteral(" ")},
    };
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive)
                              ? name.mid(2).toUInt(&ok, 16)
                              : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF)
            return QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    }
    return named.value(name, QLatin1Char('&') + name + QLatin1Char(';'));
}

// Link texts may hold entities or markup; the contents list shows plain text.
QString PlainText(const QString& html) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression entity(QStringLiteral("&(#?[A-Za-z0-9]+);"));
    const QString text = QString(html).remove(tag);
    QString plain;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : entity.globalMatch(text)) {
        plain += text.mid(done, match.capturedStart() - done) + DecodeEntity(match.captured(1));
        done = match.capturedEnd();
    }
    return (plain + text.mid(done)).simplified();
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
