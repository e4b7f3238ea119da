#include "config/ProfileFile.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool IsSectionHeader(const QString& trimmed) {
    return trimmed.startsWith(u'[');
}

// "[ Name ]" names the section Name; a header without its closing bracket still names one, so a
// hand-edited file does not lose the keys below it.
QString SectionName(const QString& trimmed) {
    const qsizetype close = trimmed.indexOf(u']');
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool IsComment(const QString& trimmed) {
    return trimmed.startsWith(u';');
}

// The key of a "key = value" line, empty for blank lines, comments and lines without "=".
QString KeyName(const QString& trimmed) {
    if (IsComment(trimmed) || IsSectionHeader(trimmed))
        return {};
    const qsizetype equals = trimmed.indexOf(u'=');
    return equals < 0 ? QString() : trimmed.left(equals).trimmed();
}

// Quotes around a whole value are a way of keeping its outer blanks; they are not part of it.
QString ValueOf(const QString& trimmed) {
    QString value = trimmed.mid(trimmed.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    return value;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool HasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

// Names and values that could not be read back as written are refused instead of corrupting the
// file's structure.
bool CanStore(const QString& section, const QString& key, const QString& value) {
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    if (section.contains(u']') || key.contains(u'='))
        return false;
    return !key.trimmed().startsWith(u';') && !key.trimmed().startsWith(u'[');
}

}  // namespace

ProfileFile::ProfileFile(QString path, int legacyLanguage)
    : path_(std::move(path)), legacyLanguage_(legacyLanguage) {}

std::optional<ProfileFile::Lines> ProfileFile::Load() const {
    Lines content;
    QFile file(path_);
    if (!file.exists())
        return content;
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = DecodeLegacyText(file.readAll(), legacyLanguage_);
    if (text.isEmpty())
        return content;
    content.lines = text.split(u'\n');
    // The text after the last line feed is a line only when it holds something.
    if (content.lines.back().isEmpty())
        content.lines.removeLast();
    if (!content.lines.isEmpty() && content.lines.front().endsWith(u'\r')) {
        content.lineEnd = QStringLiteral("\r\n");
    }
    return content;
}

bool ProfileFile::Save(const Lines& content) const {
    // The lines keep their own carriage returns; joining on line feeds restores each line end.
    QString text = content.lines.join(u'\n');
    if (!content.lines.isEmpty())
        text += u'\n';
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

ProfileFile::KeyPosition ProfileFile::Locate(const QStringList& lines, const QString& section,
                                             const QString& key) {
    KeyPosition position;
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (IsSectionHeader(trimmed)) {
            if (position.sectionLine >= 0)
                break;  // the end of the wanted section
            if (SameName(SectionName(trimmed), section)) {
                position.sectionLine = i;
                position.insertAt = i + 1;
            }
            continue;
        }
        if (position.sectionLine < 0)
            continue;
        // New keys go after the section's last non-blank line, before the gap to the next one.
        if (!trimmed.isEmpty())
            position.insertAt = i + 1;
        const QString name = KeyName(trimmed);
        if (position.keyLine < 0 && !name.isEmpty() && SameName(name, key))
            position.keyLine = i;
    }
    return position;
}

std::optional<QString> ProfileFile::Read(const QString& section, const QString& key) const {
    const std::optional<Lines> content = Load();
    if (!content)
        return std::nullopt;
    const KeyPosition position = Locate(content->lines, section, key);
    if (position.keyLine < 0)
        return std::nullopt;
    return ValueOf(content->lines[position.keyLine].trimmed());
}

bool ProfileFile::Write(const QString& section, const QString& key, const QString& value) const {
    return Write(section, KeyValues{{key, value}});
}

bool ProfileFile::Write(const QString& section, const KeyValues& values) const {
    for (const auto& [key, value] : values) {
        if (!CanStore(section, key, value))
            return false;
    }
    std::optional<Lines> content = Load();
    if (!content)
        return false;
    for (const auto& [key, value] : values)
        Put(*content, section, key, value);
    return Save(*content);
}

void ProfileFile::Put(Lines& content, const QString& section, const QString& key,
                      const QString& value) {
    const QString lineTail = content.lineEnd.chopped(1);  // "\r" in a CR LF file, else nothing
    const KeyPosition position = Locate(content.lines, section, key);
    if (position.keyLine >= 0) {
        // Keep the name as the file spells it; only the value changes.
        const QString storedName = KeyName(content.lines[position.keyLine].trimmed());
        content.lines[position.keyLine] = storedName + u'=' + value + lineTail;
    } else if (position.sectionLine >= 0) {
        content.lines.insert(position.insertAt, key.trimmed() + u'=' + value + lineTail);
    } else {
        content.lines << u'[' + section.trimmed() + u']' + lineTail
                      << key.trimmed() + u'=' + value + lineTail;
    }
}

bool ProfileFile::Remove(const QString& section, const QString& key) const {
    std::optional<Lines> content = Load();
    if (!content)
        return false;
    const KeyPosition position = Locate(content->lines, section, key);
    if (position.keyLine < 0)
        return true;
    content->lines.removeAt(position.keyLine);
    return Save(*content);
}
