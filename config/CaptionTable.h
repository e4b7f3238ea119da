// The caption and style tables: every user-visible text of the program, in the language of this
// run, read from cw20.cpt, and the fonts of captioned controls, read from cw20.sty. The tables
// take every line of their files, so a user's own longer files lose nothing.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "config/TextDecoding.h"

struct StyleEntry {
    QString name;
    QString fontName;  // "$$": keep the font the window defines
    QString size;      // points, decimal
    QString bold;      // "true" makes the font bold

    bool KeepsWindowFont() const;
    int PointSize() const;  // the leading decimal digits; 0 without any
    bool IsBold() const { return bold == QStringLiteral("true"); }
};

struct CaptionEntry {
    QString owner;      // a window's name, "PrgLevel" for program texts, or a component's name
    QString name;       // a component of that window, or the key of a program text
    QString styleName;  // a StyleEntry's name, or "HINT" for a button's hint
    QString text;
};

// The names by which a control is looked up: its own, its window's and the window's owner's.
struct ComponentNames {
    QString owner;
    QString ownerOwner;
    QString name;
};

class CaptionTable {
public:
    // Field sizes in bytes; a longer column is dropped.
    static constexpr int kStyleNameBytes = 19;
    static constexpr int kFontNameBytes = 59;
    static constexpr int kSizeBytes = 2;
    static constexpr int kBoldBytes = 5;
    static constexpr int kOwnerBytes = 99;
    static constexpr int kNameBytes = 99;
    static constexpr int kTextBytes = 199;

    int languageCode() const { return languageCode_; }

    // The language asked for on the command line, else the user's own (French, Japanese or
    // English).
    void SelectLanguage(std::optional<int> requested = std::nullopt);

    // False when the file cannot be read; the table is then unchanged.
    bool LoadStyles(const QString& path);
    bool LoadCaptions(const QString& path);
    // The same from bytes already read.
    void ParseStyles(const QByteArray& bytes);
    void ParseCaptions(const QByteArray& bytes);

    // The text of the program-level key; empty when the file has none.
    QString CaptionText(const QString& key) const;
    // The text of a program-level key that counts something, the count put for %1: the key's
    // singular form (key_ONE) for one, and for none in French, else its plural (key_MANY).
    QString CountedText(const QString& key, int count) const;
    // The first caption entry for the component, or -1.
    int FindComponentEntry(const ComponentNames& component) const;
    // The first style of that name, or 0 (the first style line, which is never applied).
    int FindStyle(const QString& styleName) const;

    int CaptionCount() const { return static_cast<int>(captions_.size()); }
    int StyleCount() const { return static_cast<int>(styles_.size()); }
    const CaptionEntry& Caption(int index) const { return captions_[index]; }
    const StyleEntry& Style(int index) const { return styles_[index]; }

private:
    bool LoadFile(const QString& path, void (CaptionTable::*parse)(const QByteArray&));
    QString Decode(const QByteArray& column) const {
        return DecodeLegacyText(column, languageCode_);
    }

    int languageCode_ = kLanguageEnglish;
    QList<StyleEntry> styles_;
    QList<CaptionEntry> captions_;
};
