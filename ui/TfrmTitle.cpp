#include "ui/TfrmTitle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "ClipwrightVersion.h"
#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "config/TextDecoding.h"
#include "ui/ApplyCaptions.h"

namespace {

constexpr int kTimer1Interval = 55;  // ms from the splash's show to the first animation tick
constexpr int kTimer2Interval = 80;  // ms per animation tick
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 13;
constexpr int kAboutExtraHeight = kButtonHeight + 26;
constexpr QPoint kPikaPosition(40, 66);
// The clear band at the bottom of the title pictures, right of the artwork.
constexpr int kVersionRight = 456;
constexpr int kVersionTop = 254;

const QString kVersionText = QStringLiteral("2.0");
const QString kRevisionText = QStringLiteral("0100");
const QString kLicenceText = QStringLiteral("Licence GPL-3.0-or-later");

QString PictureName(TitlePicture picture) {
    switch (picture) {
        case TitlePicture::Japanese:
            return QStringLiteral("imgJPN");
        case TitlePicture::Oem:
            return QStringLiteral("imgOEM");
        case TitlePicture::English:
            break;
    }
    return QStringLiteral("imgENG");
}

QPixmap LoadTitlePicture(const ProgramFolder& folder, const QString& name) {
    return QPixmap(folder.SuppliedFile(QStringLiteral("pictures/title/") + name + ".png"));
}

}  // namespace

TitlePicture ChooseTitlePicture(int languageCode, int oem) {
    if (languageCode == kLanguageJapanese)
        return TitlePicture::Japanese;
    return oem != 0 ? TitlePicture::Oem : TitlePicture::English;
}

TfrmTitle::TfrmTitle(const CaptionTable& captions, const ProgramFolder& folder,
                     const SettingsFile& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmTitle"));
    int32_t oem = 0;
    settings.ReadInteger(settings_keys::kOem, &oem);
    picture_ = ChooseTitlePicture(captions.languageCode(), oem);
    BuildControls(folder);
    ApplyCaptions(this, captions);
    // Set after the captions, so that no caption file can change the version.
    lblVer->setText(kVersionText);
    lblVerNum->setText(kRevisionText);
    lblLicence->setText(kLicenceText);
    lblLicence->setToolTip(QStringLiteral("Clipwright %1\n%2")
                               .arg(QLatin1String(kClipwrightVersion),
                                    QString::fromUtf8(kClipwrightLicenceNotice).trimmed()));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimer1Interval);
    connect(Timer1, &QTimer::timeout, this, &TfrmTitle::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(kTimer2Interval);
    connect(Timer2, &QTimer::timeout, this, &TfrmTitle::Timer2Timer);
}

TfrmTitle::~TfrmTitle() {
    FinishSplash();
}

void TfrmTitle::BuildControls(const ProgramFolder& folder) {
    imgTitle = new QLabel(this);
    imgTitle->setObjectName(QStringLiteral("imgTitle"));
    imgTitle->setPixmap(LoadTitlePicture(folder, PictureName(picture_)));
    imgTitle->adjustSize();
    for (int frame = 0; frame < 3; ++frame)
        pikaFrames_[frame] = LoadTitlePicture(folder, QStringLiteral("imgPika%1").arg(frame + 1));
    imgPika = new QLabel(this);
    imgPika->setObjectName(QStringLiteral("imgPika"));
    imgPika->move(kPikaPosition);
    ShowPika(1);
    lblVersion = AddVersionLabel(this, "lblVersion", QStringLiteral("Version"));
    lblVer = AddVersionLabel(this, "lblVer", kVersionText);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    lblRevision = new QLabel(QStringLiteral("Revision"), Panel1);
    lblRevision->setObjectName(QStringLiteral("lblRevision"));
    lblVerNum = new QLabel(kRevisionText, Panel1);
    lblVerNum->setObjectName(QStringLiteral("lblVerNum"));
    // The build's exact version and its licence notice are one hover away.
    lblLicence = new QLabel(kLicenceText, Panel1);
    lblLicence->setObjectName(QStringLiteral("lblLicence"));
    lblLicence->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnOk = new QPushButton(QStringLiteral("OK"), Panel1);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &TfrmTitle::TryClose);
    // A click anywhere on the picture, the panel or a label counts as OK.
    for (QWidget* w : std::initializer_list<QWidget*>{imgTitle, imgPika, lblVersion, lblVer, Panel1,
                                                      lblRevision, lblVerNum, lblLicence})
        w->installEventFilter(this);
}

QLabel* TfrmTitle::AddVersionLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Light text on the dark pictures, dark text on the light alternative one.
    const QString colour =
        picture_ == TitlePicture::Oem ? QStringLiteral("#51606f") : QStringLiteral("#a9b6c4");
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour));
    return label;
}

void TfrmTitle::ShowPika(int frame) {
    pikaFrame_ = frame;
    imgPika->setPixmap(pikaFrames_[frame - 1]);
    imgPika->adjustSize();
}

void TfrmTitle::showEvent(QShowEvent* event) {
    const int pictureWidth = imgTitle->width();
    // The version labels share the bottom band, "Version" ending where "2.0" begins.
    lblVer->setGeometry(kVersionRight - 40, kVersionTop, 40, 20);
    lblVersion->setGeometry(kVersionRight - 200, kVersionTop, 156, 20);
    const int clientHeight = splashMode_ ? ShowAsSplash() : ShowAsAboutBox();
    setFixedSize(pictureWidth, clientHeight);
    // Centred on the screen, at its final size.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QDialog::showEvent(event);
}

int TfrmTitle::ShowAsSplash() {
    Timer1->start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursorShown_ = true;
    splashMode_ = false;
    // The panel with the OK button lies below the visible area.
    Panel1->hide();
    return imgTitle->height();
}

int TfrmTitle::ShowAsAboutBox() {
    const int width = imgTitle->width();
    const int pictureHeight = imgTitle->height();
    Panel1->setGeometry(0, pictureHeight, width, kAboutExtraHeight);
    Panel1->show();
    const int buttonWidth = btnOk->sizeHint().width();
    btnOk->setGeometry((width - buttonWidth) / 2, kButtonTop, buttonWidth, kButtonHeight);
    lblRevision->setGeometry(12, kButtonTop, 70, kButtonHeight);
    lblVerNum->setGeometry(82, kButtonTop, 60, kButtonHeight);
    const int licenceLeft = btnOk->geometry().right() + 12;
    lblLicence->setGeometry(licenceLeft, kButtonTop, width - 12 - licenceLeft, kButtonHeight);
    btnOk->setFocus();
    return pictureHeight + kAboutExtraHeight;
}

void TfrmTitle::Timer1Timer() {
    Timer1->stop();
    tickCount_ = 0;
    Timer2->start();
}

void TfrmTitle::Timer2Timer() {
    ++tickCount_;
    Timer2->stop();
    if (tickCount_ > kTicksUntilClose) {
        FinishSplash();
        QDialog::done(QDialog::Accepted);
        return;
    }
    if (tickCount_ >= kFirstAnimatedTick && tickCount_ <= kLastAnimatedTick) {
        // A six-tick cycle: a glint that swells (2, 3), settles (2, 1) and rests two ticks.
        switch ((tickCount_ - kFirstAnimatedTick) % 6) {
            case 0:
            case 2:
                ShowPika(2);
                break;
            case 1:
                ShowPika(3);
                break;
            case 3:
                ShowPika(1);
                break;
            default:
                break;
        }
    }
    Timer2->start();
}

void TfrmTitle::FinishSplash() {
    if (!waitCursorShown_)
        return;
    waitCursorShown_ = false;
    QApplication::restoreOverrideCursor();
}

bool TfrmTitle::MayClose() const {
    return !Timer1->isActive() && !Timer2->isActive() && !splashMode_;
}

void TfrmTitle::TryClose() {
    if (MayClose())
        QDialog::done(QDialog::Accepted);
}

void TfrmTitle::reject() {
    if (MayClose())
        QDialog::reject();
}

void TfrmTitle::closeEvent(QCloseEvent* event) {
    if (MayClose())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

bool TfrmTitle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        TryClose();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
