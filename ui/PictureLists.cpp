#include "ui/PictureLists.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include "config/ProgramFolder.h"

namespace {

// The centre of the cross in the 32 x 32 picture; the 2x picture is drawn at the same logical size.
constexpr int kCursorHotSpot = 15;

QString EffectName(int index, const QString& suffix) {
    return QStringLiteral("pictures/effects/effect%1%2").arg(index).arg(suffix);
}

QString TransitionName(int index, const QString& suffix) {
    return QStringLiteral("pictures/transitions/trs%1%2")
        .arg(index + PictureLists::kFirstTransitionCode)
        .arg(suffix);
}

qreal PrimaryScreenDensity() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

// Without the picture a Ctrl drag still shows a copy cursor, the standard one.
bool LoadCursor(const ProgramFolder& folder, QCursor* cursor) {
    const bool dense = PrimaryScreenDensity() > 1.0;
    QPixmap picture(folder.SuppliedFile(dense ? QStringLiteral("pictures/cursors/curplus@2x.png")
                                              : QStringLiteral("pictures/cursors/curplus.png")));
    if (picture.isNull()) {
        *cursor = QCursor(Qt::DragCopyCursor);
        return false;
    }
    if (dense)
        picture.setDevicePixelRatio(2.0);
    *cursor = QCursor(picture, kCursorHotSpot, kCursorHotSpot);
    return true;
}

}  // namespace

PictureLists::PictureLists()
    : ilEffect(kPictureSize),
      ilTrs(kPictureSize),
      ilEffectDs(kPictureSize),
      ilTrsDs(kPictureSize),
      copyCursor(Qt::DragCopyCursor) {}

bool PictureLists::Load(const ProgramFolder& folder) {
    const QString normal;
    const QString greyed = QStringLiteral("_disabled");
    bool complete = true;
    complete &= ilEffect.Load(folder, kEffectCount, [&](int i) { return EffectName(i, normal); });
    complete &= ilEffectDs.Load(folder, kEffectCount, [&](int i) { return EffectName(i, greyed); });
    complete &=
        ilTrs.Load(folder, kTransitionCount, [&](int i) { return TransitionName(i, normal); });
    complete &=
        ilTrsDs.Load(folder, kTransitionCount, [&](int i) { return TransitionName(i, greyed); });
    complete &= LoadCursor(folder, &copyCursor);
    return complete;
}

int PictureLists::TransitionIndex(int transitionCode) {
    const int index = transitionCode - kFirstTransitionCode;
    return index >= 0 && index < kTransitionCount ? index : -1;
}
