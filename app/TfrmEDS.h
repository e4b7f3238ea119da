// The main window: the edit list with its toolbar and column header, the menus, dropped and
// command-line files, the close question, and the settings it reads at its first show
// (TfrmEDSStart.cpp) and writes when it closes. Its File menu works on the list's project
// document, which asks whether to save a changed list; the settings file's reports reach the
// user through the user prompts.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/MainMenus.h"
#include "app/ProjectDocument.h"
#include "config/SettingsReporter.h"
#include "ui/PictureLists.h"
#include "ui/TfrmTitle.h"
#include "ui/TfrmWait.h"

class AppContext;
class ControllerButton;
class TfrmAvCtl;
class EffectRules;
class EffectToolbar;
class HelpWindow;
class QFrame;
class QLabel;
class QScrollBar;
class SceneListView;
class TfrmCrct;

class UserPrompts;
class QDialog;

class TfrmEDS : public QMainWindow, public SettingsReporter {
    Q_OBJECT

public:
    TfrmEDS(AppContext& context, UserPrompts& prompts, QWidget* parent = nullptr);
    ~TfrmEDS() override;

    // The title window: the splash of ShowAtStart and the about box. Without one (tests) the
    // start goes straight on and About has nothing to show.
    void SetTitleWindow(TfrmTitle* title) { title_ = title; }
    // The project file to open at the first show, after the splash.
    void SetCommandLineFile(const QString& path) { commandLineFile_ = path; }
    // The scene correction dialog behind Modify Edit Points and a double click on a row.
    void SetCorrectionDialog(TfrmCrct* dialog);
    // The progress window, which questions of the file layer must not hide behind.
    void SetProgressWindow(TfrmWait* window) { document_.SetProgressWindow(window); }
    // The windows of Preference > Options, Preference > Tarn Devices and Window > Tarn Monitor
    // (the monitor is offered only in debug mode). Their menu items work once they are set.
    void SetSetupWindows(QDialog* options, QDialog* devices, QWidget* monitor);
    // The deck controller: Window > Controller and the controller button open it, Preference >
    // Tarn Devices runs its device setup, the first show reopens it when it was open at the last
    // close ([Setup] VtrWindow), and the close records that and its position.
    void AttachController(TfrmAvCtl* controller);
    void OpenController();
    // The program's start: the title window alone, then this window once, placed and filled.
    void ShowAtStart();
    QTimer& controllerTimer() { return tmCtl_; }

    // The edit list's project file and the File menu's commands on it.
    ProjectDocument& document() { return document_; }
    bool firstShowDone() const { return firstShowDone_; }
    // Closes the program's windows as a close does (settings, positions, the port, the lock),
    // without its questions: the system asked the program to end and nobody is there to answer.
    void EndWithoutQuestions();
    const MainMenus& menus() const { return menus_; }
    SceneListView* list() const { return list_; }
    // The effect and transition pictures of the rows and the effect toolbar.
    const PictureLists& pictures() const { return pictures_; }
    // The effect toolbar, built at the first show (none before).
    EffectToolbar* effectToolbar() const { return effectToolbar_; }
    HelpWindow* helpWindow() const { return help_.get(); }

    // A file given to the window as by a drop: asks to save changes, then loads it.
    bool OpenAsDropped(const QString& path);

    // SettingsReporter
    void ReportMalformedInteger(const QString& file, const QString& section, const QString& key,
                                const QString& text) override;

signals:
    void firstShowFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbar(QWidget* client);
    void BuildHeader(QWidget* client);
    void BuildEffectToolbar();
    void ConnectMenus();
    void ConnectList();
    void FormShow();
    int ReadFrameMode();
    bool FormCloseQuery();
    void FormClose();
    void FormResize();

    // Edit and File menu handlers.
    void mnuNewClick();
    void mnuOpenClick();
    void mnusaveClick();
    bool mnuSaveasClick();
    void mnuImportEdlClick();
    void mnuExportEdlClick();
    void mnuDelClick();
    void mnuModClick();
    void ModifyRow(int row);
    void mnuSceneClick(QAction* item);
    void mnuToolbarClick(bool shown);
    void mnuContClick();
    void mnuKeywordClick();
    void mnuAboutClick();
    void UpdateFileMenu();
    void UpdateEditMenu();

    void UpdateTitle();
    void UpdateTotal();
    void ScrollListBy(int pixels);
    HelpWindow& EnsureHelpWindow();
    QString Text(const char* key) const;

    AppContext& context_;
    UserPrompts& prompts_;
    ProjectDocument document_;
    MainMenus menus_;
    QFrame* toolbar_ = nullptr;
    QLabel* totalTime_ = nullptr;
    ControllerButton* controllerButton_ = nullptr;
    QPointer<TfrmAvCtl> controller_;
    QTimer tmCtl_;
    QFrame* header_ = nullptr;
    PictureLists pictures_;
    QWidget* effectPanel_ = nullptr;
    std::unique_ptr<EffectRules> rules_;
    EffectToolbar* effectToolbar_ = nullptr;
    SceneListView* list_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QPointer<TfrmTitle> title_;
    QPointer<QDialog> optionsDialog_;
    QPointer<QDialog> devicesDialog_;
    QPointer<QWidget> monitorWindow_;
    QPointer<TfrmCrct> correction_;
    // Not a child: it stays usable while this window is disabled.
    std::unique_ptr<HelpWindow> help_;

    QString commandLineFile_;
    int toolbarHeight_ = 0;
    bool firstShowStarted_ = false;
    bool endingWithoutQuestions_ = false;
    bool firstShowDone_ = false;
};
