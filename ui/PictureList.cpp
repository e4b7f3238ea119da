#include "ui/PictureList.h"

#include <QPainter>
#include <QPixmap>

#include "config/ProgramFolder.h"

namespace {

constexpr qreal kDoubleDensity = 2.0;

}  // namespace

bool PictureList::Append(const ProgramFolder& folder, const QString& baseName) {
    QIcon icon;
    const QPixmap normal(folder.SuppliedFile(baseName + QStringLiteral(".png")));
    if (!normal.isNull())
        icon.addPixmap(normal);
    // The 2x form carries its density, so painters on 2x screens pick it at the same logical size.
    QPixmap dense(folder.SuppliedFile(baseName + QStringLiteral("@2x.png")));
    if (!dense.isNull()) {
        dense.setDevicePixelRatio(kDoubleDensity);
        icon.addPixmap(dense);
    }
    // A missing picture keeps its place, so later indices still name their own pictures.
    pictures_.append(icon);
    return !normal.isNull();
}

QIcon PictureList::Picture(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return pictures_[index];
}

void PictureList::Draw(QPainter& painter, const QPoint& topLeft, int index) const {
    const QIcon icon = Picture(index);
    if (!icon.isNull())
        icon.paint(&painter, QRect(topLeft, pictureSize_));
}
