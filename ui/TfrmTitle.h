// The title window: the animated splash that the main window shows once at start-up, and the
// about box with its OK button afterwards. The splash closes itself after its animation and
// cannot be cut short.
#pragma once

#include <QDialog>
#include <QPixmap>

class CaptionTable;
class ProgramFolder;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class SettingsFile;

enum class TitlePicture { English, Japanese, Oem };

// Japanese users get the Japanese picture whatever OEM says; others the alternative picture
// when OEM is set (non-zero), else the English one.
TitlePicture ChooseTitlePicture(int languageCode, int oem);

class TfrmTitle : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTicksUntilClose = 43;  // the splash closes on the tick after this
    static constexpr int kFirstAnimatedTick = 13;
    static constexpr int kLastAnimatedTick = 30;

    TfrmTitle(const CaptionTable& captions, const ProgramFolder& folder,
              const SettingsFile& settings, QWidget* parent = nullptr);
    ~TfrmTitle() override;

    TitlePicture titlePicture() const { return picture_; }
    bool splashMode() const { return splashMode_; }
    int tickCount() const { return tickCount_; }
    // The animation frame imgPika shows: 1, 2 or 3.
    int pikaFrame() const { return pikaFrame_; }
    QTimer* timer1() const { return Timer1; }
    QTimer* timer2() const { return Timer2; }
    QPushButton* okButton() const { return btnOk; }

    void Timer1Timer();
    void Timer2Timer();

    // Escape and the window's close: only the about box obeys them.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls(const ProgramFolder& folder);
    QLabel* AddVersionLabel(QWidget* parent, const char* name, const QString& text);
    bool MayClose() const;
    void TryClose();
    void ShowPika(int frame);
    // Both lay the window out and return its client height.
    int ShowAsSplash();
    int ShowAsAboutBox();
    void FinishSplash();

    TitlePicture picture_;
    QLabel* imgTitle = nullptr;
    QLabel* imgPika = nullptr;
    QPixmap pikaFrames_[3];
    QLabel* lblVersion = nullptr;
    QLabel* lblVer = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* lblRevision = nullptr;
    QLabel* lblVerNum = nullptr;
    QLabel* lblLicence = nullptr;
    QPushButton* btnOk = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    bool splashMode_ = true;
    bool waitCursorShown_ = false;
    int tickCount_ = 0;
    int pikaFrame_ = 1;
};
