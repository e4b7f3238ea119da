#include "controller/SkinPicture.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

void SkinPicture::paintEvent(QPaintEvent* event) {
    if (pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    // The skin's pictures are made to the size of their places. Only an explicit
    // setEnabled(false) on the picture itself sets WA_ForceDisabled; a disabled window does not.
    QPixmap picture = pixmap();
    if (!isEnabled() && testAttribute(Qt::WA_ForceDisabled)) {
        QStyleOption option;
        option.initFrom(this);
        picture = style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    }
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), picture);
}
