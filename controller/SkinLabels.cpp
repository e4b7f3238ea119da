#include "controller/SkinLabels.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "config/CaptionTable.h"

namespace {

// The skin was drawn with this face; a caption in a script it lacks falls back as any text does.
const QString kSkinFace = QStringLiteral("DejaVu Sans");
// What a label keeps clear of the picture's edge.
constexpr qreal kEdgeMargin = 2;

SkinLabel::Anchor AnchorFrom(const QString& name) {
    if (name == QLatin1String("start"))
        return SkinLabel::Anchor::Start;
    if (name == QLatin1String("end"))
        return SkinLabel::Anchor::End;
    return SkinLabel::Anchor::Middle;
}

SkinLabel LabelFrom(const QJsonObject& o) {
    SkinLabel label;
    label.captionKey = o.value(QStringLiteral("caption")).toString();
    label.designText = o.value(QStringLiteral("text")).toString();
    label.baseline =
        QPointF(o.value(QStringLiteral("x")).toDouble(), o.value(QStringLiteral("y")).toDouble());
    label.size = o.value(QStringLiteral("size")).toDouble();
    label.bold = o.value(QStringLiteral("bold")).toBool(true);
    label.anchor = AnchorFrom(o.value(QStringLiteral("anchor")).toString());
    label.spacing = o.value(QStringLiteral("spacing")).toDouble();
    label.colour = QColor(o.value(QStringLiteral("colour")).toString());
    label.width = o.value(QStringLiteral("width")).toDouble();
    return label;
}

// The width the label may take where it stands on a picture `pictureWidth` wide.
qreal RoomFor(const SkinLabel& label, qreal pictureWidth) {
    const qreal x = label.baseline.x();
    qreal room = 0;
    switch (label.anchor) {
        case SkinLabel::Anchor::Start:
            room = pictureWidth - x - kEdgeMargin;
            break;
        case SkinLabel::Anchor::End:
            room = x - kEdgeMargin;
            break;
        case SkinLabel::Anchor::Middle:
            room = 2 * (std::min(x, pictureWidth - x) - kEdgeMargin);
            break;
    }
    return label.width > 0 ? std::min(room, label.width) : room;
}

// The label's font at `scale` device pixels per picture unit, no wider than room for text.
QFont FittedFont(const SkinLabel& label, const QString& text, qreal room, qreal scale) {
    QFont font(kSkinFace);
    font.setBold(label.bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, label.spacing * scale);
    font.setPixelSize(std::max(1, qRound(label.size * scale)));
    const qreal wide = QFontMetricsF(font).horizontalAdvance(text);
    if (wide > room * scale)
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * room * scale / wide)));
    return font;
}

}  // namespace

bool SkinLabels::Load(const QString& path) {
    labels_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return false;
    const QJsonObject pictures = document.object();
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        QList<SkinLabel> labels;
        for (const QJsonValue& value : it.value().toArray())
            labels.append(LabelFrom(value.toObject()));
        labels_.insert(it.key(), labels);
    }
    return true;
}

void SkinLabels::DrawOn(QPixmap& picture, const QString& base, const CaptionTable& captions) const {
    const auto found = labels_.constFind(base);
    if (found == labels_.cend() || picture.isNull())
        return;
    // Drawn in the picture's own pixels, so a 2x picture gets a 2x font, not a scaled one.
    const qreal scale = picture.devicePixelRatio();
    const qreal pictureWidth = picture.width() / scale;
    picture.setDevicePixelRatio(1);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const SkinLabel& label : *found) {
        const QString caption = captions.CaptionText(label.captionKey);
        const QString text = caption.isEmpty() ? label.designText : caption;
        const QFont font = FittedFont(label, text, RoomFor(label, pictureWidth), scale);
        const qreal wide = QFontMetricsF(font).horizontalAdvance(text);
        qreal x = label.baseline.x() * scale;
        if (label.anchor == SkinLabel::Anchor::Middle)
            x -= wide / 2;
        else if (label.anchor == SkinLabel::Anchor::End)
            x -= wide;
        painter.setFont(font);
        painter.setPen(label.colour);
        painter.drawText(QPointF(x, label.baseline.y() * scale), text);
    }
    painter.end();
    picture.setDevicePixelRatio(scale);
}
