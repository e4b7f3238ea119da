// The controller's skin: where every control sits (layout.json) and its pictures, one file per
// objectName and look ("btnPlay", "btnPlay_lit", "imgDeckp_red"), loaded at 2x where drawn so,
// so the window stays crisp on dense screens, with their printed labels in the captions'
// language.
#pragma once

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "controller/SkinLabels.h"

class CaptionTable;
class ProgramFolder;

class ControllerSkin {
public:
    // Reads the layout and the labels from the program folder (or the installed resources).
    // False when the layout is missing or malformed; every place is then empty.
    bool Load(const ProgramFolder& folder, const CaptionTable& captions);

    QSize WindowSize() const { return windowSize_; }
    // Position and size of a control in the window; empty for an unknown name.
    QRect Place(const QString& objectName) const;
    QStringList KeyNames() const { return keyNames_; }
    QStringList LampKeyNames() const { return lampKeys_; }
    // The keys and pictures the keyboard reaches, in the order Tab visits them: the band of deck
    // pictures and window keys, then the blocks below it from left to right, each top to bottom.
    QStringList TabOrder() const { return tabOrder_; }
    QColor FocusColour() const { return focusColour_; }
    // The dial's hit circle in the dial picture's coordinates.
    QPoint DialCentre() const { return dialCentre_; }
    int DialRadius() const { return dialRadius_; }

    // The picture "<name>[_<look>]": the 2x drawing with its density set when there is one,
    // else the 1x drawing, its labels drawn on; a null pixmap when neither exists.
    QPixmap Picture(const QString& name, const QString& look = QString()) const;

private:
    const ProgramFolder* folder_ = nullptr;
    const CaptionTable* captions_ = nullptr;
    SkinLabels labels_;
    QSize windowSize_;
    QHash<QString, QRect> places_;
    QStringList keyNames_;
    QStringList lampKeys_;
    QStringList tabOrder_;
    QColor focusColour_{0x35, 0xc2, 0xb5};
    QPoint dialCentre_{36, 36};
    int dialRadius_ = 35;
    mutable QHash<QString, QPixmap> cache_;
};
