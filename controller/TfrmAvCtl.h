// The deck controller: a borderless window drawn like a remote control. Its deck remote connects
// to the player or the recorder and sends the transport commands of its keys, dial and keypad;
// the window lights its lamps from the deck's reported mode (TfrmAvCtlDeckDisplay.cpp), marks
// and trims edit points into the edit list and starts the timed operations
// (TfrmAvCtlEditKeys.cpp). The deck's status reaches it as queued change notices from the link
// thread.
#pragma once

#include <QHash>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "controller/ControllerSkin.h"
#include "controller/DeckRemote.h"
#include "controller/EditPoints.h"
#include "controller/KeyCover.h"
#include "controller/KeypadMap.h"
#include "controller/WindowDrag.h"
#include "engine/AutoKind.h"

class CComm;
class CaptionTable;
class Clock;
class ControllerDevices;
class EditHistory;
class KeyAutoRepeat;
class ProgramFolder;
class QLabel;
class QMenu;
class QAction;
class SceneList;
class SettingsFile;
class SkinKey;
class SkinPicture;
class SoundPlayer;
class TarnLink;
class TarnSys;
class TarnVtr;

// The objects the controller works with, all owned elsewhere and living as long as it.
struct ControllerParts {
    CComm& comm;
    TarnLink& link;
    TarnVtr& vtr;
    TarnSys& sys;
    Clock& clock;
    SceneList& scenes;
    // Entry, In, Out, Trim and the scene keys change the list as steps of its history.
    EditHistory& history;
    ControllerDevices& devices;
    const CaptionTable& captions;
    const ProgramFolder& folder;
    const SettingsFile& settings;
    SoundPlayer& sounds;
};

class TfrmAvCtl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDeviceSetupDelayMs = 100;
    static constexpr int kArrowFlashMs = 1000;

    explicit TfrmAvCtl(const ControllerParts& parts, QWidget* parent = nullptr);
    ~TfrmAvCtl() override;

    // The main window, which a show of the controller enables again.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    // Window placement of the first show and of every close (none in tests that do not care).
    void SetPlacement(std::function<void(QWidget*)> restore, std::function<void(QWidget*)> save);
    // Starts a timed operation (Goto 1, Preview 2, Review 3, Auto Rec 4, Preroll 5, Edit 6).
    // Auto Rec reads the recorder's position first through readRecorderPosition.
    void SetOperations(std::function<void(AutoKind kind)> autoStart,
                       std::function<void()> readRecorderPosition);

    // The deck the window drives, its connection and its transport commands.
    DeckRemote& remote() { return remote_; }
    const DeckRemote& remote() const { return remote_; }

    // --- Editing keys -------------------------------------------------------------------------
    void UpdateEditButtons();
    void UpdateEntryButton();
    // Auto Rec and Review wait for the end of an Auto Rec that starts (or resumes) now.
    void HoldRecordingKeys();
    void EnableAutoRec();
    void EnableReview();
    void ShowRecorderRecording();
    void SetArrowFlashing(bool on);
    bool arrowLit() const;

    // Preference > Tarn Devices, the popup's Devices and a click on the id: the polling stops
    // while the setup dialog is up, and the controller reconnects afterwards when it was polling
    // or connected to nothing.
    void RunDeviceSetup();

    SkinKey* key(const QString& name) const;
    QLabel* picture(const QString& name) const;
    QWidget* cover(int which) const;  // pnlBtnCover1 or pnlBtnCover2
    bool coverOpen(int which) const;
    QMenu* popupMenu() const { return pm1_; }
    // The popup's Program menu, also the PROGRAM cover's own popup.
    QMenu* programMenu() const { return pmProgram_; }
    QTimer& deviceTimer() { return tmDev_; }
    QTimer& programTimer() { return tmPrg_; }
    KeyAutoRepeat& autoRepeat() { return *autoRepeat_; }

signals:
    void helpContentsRequested();
    void helpKeywordRequested();
    void aboutRequested();
    // Program edit: the scene correction of row i.
    void modifyRowRequested(int row);
    // Send: the list should show its end.
    void listEndRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPictures();
    void BuildKeys();
    void BuildLabels();
    void BuildCovers();
    void ChainTabOrder();
    void BuildPopupMenu();
    void ConnectTransportKeys();
    void ConnectEditKeys();
    SkinPicture* AddPicture(const QString& name, const QString& look, QWidget* parent);

    void FormFirstShow();
    void FormEveryShow();
    void tmDevTimer();
    void OnVtrChanged();

    // What the deck remote reports, painted
    void ConnectRemote();
    void ShowTransport(bool on);
    void ShowView(DeckRemote::View view, bool deckChanged);
    // All lamps out, and Preroll and Edit off.
    void ClearLamps();
    void ShowLamps(int mode);
    void SetDeckPictures(const QString& player, const QString& recorder);
    // The counter at zero and the labels grey, as with no deck connected.
    void ShowNoDeckLabels();
    void SetLabelColour(const QColor& colour);
    void SetPauseLampConsequences(bool pauseLit);
    void ShowDialMode(bool shuttle);
    void SetJogLamp(bool lit);

    // Transport
    void btnPlayMouseDown();
    void btnPauseMouseDown();
    void btnRecMouseDown();
    void DialPress(const QPoint& at);
    void DialRelease(const QPoint& at);
    bool InsideDial(const QPoint& at) const;
    void OnKeypad(KeypadAction action, bool down);

    // Window behaviour
    bool HandlePictureMouse(QObject* watched, QEvent* event);
    bool StartsDrag(QObject* watched) const;
    void ToggleCover(int which);
    void ToggleAlwaysOnTop(bool on);

    // Editing keys
    void MarkPointClick(EditPoint point);
    void btnEntryClick();
    void btnSendClick();
    void btnReviewClick();
    void btnAutoRecClick();
    void SetEditKeys(const EditKeyStates& keys);
    void tmPrgTimer();

    ControllerParts parts_;
    ControllerSkin skin_;
    DeckRemote remote_;
    WindowDrag drag_;
    QPointer<QWidget> mainWindow_;
    std::function<void(QWidget*)> restorePosition_;
    std::function<void(QWidget*)> savePosition_;
    std::function<void(AutoKind)> autoStart_;
    std::function<void()> readRecorderPosition_;

    QLabel* imgFPanel_ = nullptr;
    QLabel* lblScene_ = nullptr;
    QLabel* lblID_ = nullptr;
    QLabel* lblCounter_ = nullptr;
    QLabel* imgDeckp_ = nullptr;
    QLabel* imgDeckr_ = nullptr;
    QLabel* imgPtoR_ = nullptr;
    QLabel* imgLumpPause_ = nullptr;
    QLabel* imgJog_ = nullptr;
    QLabel* imgPgmCover_ = nullptr;
    QLabel* imgRecCover_ = nullptr;
    QLabel* imgPrgOpen_ = nullptr;
    QLabel* imgRecOpen_ = nullptr;
    std::optional<KeyCover> programCover_;
    std::optional<KeyCover> recordCover_;
    QMenu* pm1_ = nullptr;
    QMenu* pmProgram_ = nullptr;
    QAction* pmTop_ = nullptr;
    KeyAutoRepeat* autoRepeat_ = nullptr;
    QTimer tmDev_;
    QTimer tmPrg_;

    bool dialPressed_ = false;
    bool keyHeld_ = false;
    // The keys a held keypad key shows pressed, by its action.
    QHash<int, QPointer<SkinKey>> keypadKeysDown_;
    bool shownOnce_ = false;
    bool changingFlags_ = false;
    int arrowTag_ = 0;
};
