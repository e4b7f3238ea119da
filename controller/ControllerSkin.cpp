#include "controller/ControllerSkin.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "config/ProgramFolder.h"

namespace {

const QString kSkinFolder = QStringLiteral("skin/controller/");
constexpr qreal kDoubleDensity = 2.0;

QRect RectFrom(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    if (a.size() != 4)
        return {};
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

QPoint PointFrom(const QJsonValue& value, QPoint fallback) {
    const QJsonArray a = value.toArray();
    return a.size() == 2 ? QPoint(a[0].toInt(), a[1].toInt()) : fallback;
}

}  // namespace

bool ControllerSkin::Load(const ProgramFolder& folder, const CaptionTable& captions) {
    folder_ = &folder;
    captions_ = &captions;
    labels_.Load(folder.SuppliedFile(kSkinFolder + QStringLiteral("labels.json")));
    QFile file(folder.SuppliedFile(kSkinFolder + QStringLiteral("layout.json")));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return false;
    const QJsonObject root = document.object();
    const QJsonArray size = root.value(QStringLiteral("size")).toArray();
    windowSize_ = size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
    const QJsonObject keys = root.value(QStringLiteral("keys")).toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        places_.insert(it.key(), RectFrom(it.value()));
        keyNames_.append(it.key());
    }
    const QJsonObject pictures = root.value(QStringLiteral("pictures")).toObject();
    for (auto it = pictures.begin(); it != pictures.end(); ++it)
        places_.insert(it.key(), RectFrom(it.value()));
    for (const QJsonValue& name : root.value(QStringLiteral("lampKeys")).toArray())
        lampKeys_.append(name.toString());
    for (const QJsonValue& name : root.value(QStringLiteral("tabOrder")).toArray())
        tabOrder_.append(name.toString());
    if (const QColor focus(root.value(QStringLiteral("focusColour")).toString()); focus.isValid())
        focusColour_ = focus;
    const QJsonObject dial = root.value(QStringLiteral("dialHit")).toObject();
    dialCentre_ = PointFrom(dial.value(QStringLiteral("centre")), dialCentre_);
    dialRadius_ = dial.value(QStringLiteral("radius")).toInt(dialRadius_);
    return windowSize_.isValid() && !places_.isEmpty();
}

QRect ControllerSkin::Place(const QString& objectName) const {
    return places_.value(objectName);
}

QPixmap ControllerSkin::Picture(const QString& name, const QString& look) const {
    const QString base = look.isEmpty() ? name : name + QLatin1Char('_') + look;
    const auto cached = cache_.constFind(base);
    if (cached != cache_.cend())
        return *cached;
    QPixmap picture;
    if (folder_ != nullptr) {
        picture.load(folder_->SuppliedFile(kSkinFolder + base + QStringLiteral("@2x.png")));
        if (!picture.isNull())
            picture.setDevicePixelRatio(kDoubleDensity);
        else
            picture.load(folder_->SuppliedFile(kSkinFolder + base + QStringLiteral(".png")));
        labels_.DrawOn(picture, base, *captions_);
    }
    cache_.insert(base, picture);
    return picture;
}
