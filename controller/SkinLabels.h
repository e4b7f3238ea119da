// The printed labels of the controller's skin (PLAYER, ENTRY, OPEN, DECK CONTROLLER, ...): the
// pictures carry no text, and these are drawn over them in the captions' language. Where each
// label stands, its size and colour come from labels.json beside the pictures; its text is the
// caption of its key (SK_*), or the skin's English print when the caption file has none.
#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

class CaptionTable;
class QPixmap;

struct SkinLabel {
    QString captionKey;
    QString designText;
    QPointF baseline;  // the point of the baseline that the anchor names, in picture units
    qreal size = 0;    // font size in picture units
    bool bold = true;
    enum class Anchor { Start, Middle, End } anchor = Anchor::Middle;
    qreal spacing = 0;  // added between letters, in picture units
    QColor colour;
    qreal width = 0;  // the room it has; 0: as far as the picture's edge allows
};

class SkinLabels {
public:
    // False when the file is missing or malformed: the pictures then show without labels.
    bool Load(const QString& path);
    // Draws the labels of the picture file `base` ("btnEntry_down") onto picture, each in the
    // skin's font, made smaller where the caption is longer than the room it has.
    void DrawOn(QPixmap& picture, const QString& base, const CaptionTable& captions) const;

private:
    QHash<QString, QList<SkinLabel>> labels_;
};
