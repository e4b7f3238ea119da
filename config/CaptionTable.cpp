#include "config/CaptionTable.h"

#include <QFile>

#include "config/CaptionFileParser.h"
#include "config/UserLanguage.h"

namespace {

const QString kProgramLevel = QStringLiteral("PrgLevel");

// Caption file columns: owner, name, then a text and style column pair per language.
constexpr int kFirstPairColumn = 2;
int TextColumnOf(int languageCode) {
    switch (languageCode) {
        case kLanguageFrench:
            return kFirstPairColumn + 2;
        case kLanguageJapanese:
            return kFirstPairColumn + 4;
        default:
            return kFirstPairColumn;
    }
}

}  // namespace

bool StyleEntry::KeepsWindowFont() const {
    // An empty face (an empty style line) would mean no face at all; it keeps the window's.
    return fontName.isEmpty() || fontName == QStringLiteral("$$");
}

int StyleEntry::PointSize() const {
    int points = 0;
    for (const QChar c : size) {
        if (c < u'0' || c > u'9')
            break;
        points = points * 10 + (c.unicode() - u'0');
    }
    return points;
}

void CaptionTable::SelectLanguage(std::optional<int> requested) {
    languageCode_ = ChooseLanguage(requested);
}

bool CaptionTable::LoadStyles(const QString& path) {
    return LoadFile(path, &CaptionTable::ParseStyles);
}

bool CaptionTable::LoadCaptions(const QString& path) {
    return LoadFile(path, &CaptionTable::ParseCaptions);
}

bool CaptionTable::LoadFile(const QString& path, void (CaptionTable::*parse)(const QByteArray&)) {
    // An unreadable file leaves the table as it was.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    (this->*parse)(file.readAll());
    return true;
}

void CaptionTable::ParseStyles(const QByteArray& bytes) {
    styles_.clear();
    const QList<ColumnRow> rows =
        ParseColumnLines(bytes, {kStyleNameBytes, kFontNameBytes, kSizeBytes, kBoldBytes});
    for (const ColumnRow& row : rows) {
        styles_.append({.name = Decode(row[0]),
                        .fontName = Decode(row[1]),
                        .size = Decode(row[2]),
                        .bold = Decode(row[3])});
    }
}

void CaptionTable::ParseCaptions(const QByteArray& bytes) {
    captions_.clear();
    const QList<ColumnRow> rows =
        ParseColumnLines(bytes, {kOwnerBytes, kNameBytes, kTextBytes, kStyleNameBytes, kTextBytes,
                                 kStyleNameBytes, kTextBytes, kStyleNameBytes});
    const int textColumn = TextColumnOf(languageCode_);
    for (const ColumnRow& row : rows) {
        captions_.append({.owner = Decode(row[0]),
                          .name = Decode(row[1]),
                          .styleName = Decode(row[textColumn + 1]),
                          .text = Decode(row[textColumn])});
    }
}

QString CaptionTable::CaptionText(const QString& key) const {
    for (const CaptionEntry& entry : captions_) {
        if (entry.owner == kProgramLevel && entry.name == key)
            return entry.text;
    }
    return {};
}

QString CaptionTable::CountedText(const QString& key, int count) const {
    const bool singular = count == 1 || (count == 0 && languageCode_ == kLanguageFrench);
    return CaptionText(key + (singular ? QStringLiteral("_ONE") : QStringLiteral("_MANY")))
        .arg(count);
}

int CaptionTable::FindComponentEntry(const ComponentNames& component) const {
    if (component.name.isEmpty())
        return -1;
    for (int i = 0; i < captions_.size(); ++i) {
        const CaptionEntry& entry = captions_[i];
        // An empty line ends the component entries; program texts after it are still found.
        if (entry.owner.isEmpty())
            return -1;
        const bool ownedByWindow =
            entry.owner == component.owner || entry.owner == component.ownerOwner;
        if ((ownedByWindow && entry.name == component.name) || entry.owner == component.name) {
            return i;
        }
    }
    return -1;
}

int CaptionTable::FindStyle(const QString& styleName) const {
    for (int i = 0; i < styles_.size(); ++i) {
        if (styles_[i].name == styleName)
            return i;
    }
    return 0;
}
