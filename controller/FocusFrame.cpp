#include "controller/FocusFrame.h"

#include <QPainter>

namespace {

// Wide enough to see on the dark panel at a glance, inside the control so that neighbours that
// stand 4 pixels apart keep their own edges.
constexpr qreal kFrameWidth = 2.0;
constexpr qreal kCornerRadius = 5.0;

}  // namespace

void PaintFocusFrame(QPainter& painter, const QRect& area, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, kFrameWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kFrameWidth / 2;
    painter.drawRoundedRect(QRectF(area).adjusted(inset, inset, -inset, -inset), kCornerRadius,
                            kCornerRadius);
    painter.restore();
}
