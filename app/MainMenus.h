// The main window's menus: every item with its objectName (the caption tables find it by that
// name), its design caption and its fixed shortcut, and the row popup menu pm1, which shares the
// Edit menu's items. The window connects the items to its handlers.
#pragma once

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
struct SceneListMenuState;

struct MainMenus {
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnusave = nullptr;
    QAction* mnuSaveas = nullptr;
    QAction* mnuImportEdl = nullptr;
    QAction* mnuExportEdl = nullptr;
    QAction* mnuExit = nullptr;

    QMenu* mnuEdit = nullptr;
    QAction* mnuUndo = nullptr;  // texts and enabled state kept by the edit history
    QAction* mnuRedo = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuDel = nullptr;
    QAction* mnuAllSel = nullptr;
    QAction* mnuNonSel = nullptr;
    QAction* mnuMod = nullptr;
    QMenu* mnuAdd = nullptr;
    QAction* mnuScene = nullptr;    // data 0: a scene
    QAction* mnuTChange = nullptr;  // data 1: a tape change

    QMenu* mnuView = nullptr;
    QAction* mnuToolbar = nullptr;

    // The deck operations of the controller's PROGRAM keys that the main window offers too.
    QMenu* mnuProgram = nullptr;
    QAction* mnuResume = nullptr;  // Resume Auto Rec, also in the controller's Program popup

    QMenu* mnuPref = nullptr;
    QAction* mnuOpt = nullptr;
    QAction* mnuDev = nullptr;

    QMenu* mnuWindow = nullptr;
    QAction* mnuCtl = nullptr;
    QAction* mnuMoni = nullptr;

    QMenu* mnuHelp = nullptr;
    QAction* mnuCont = nullptr;
    QAction* mnuKeyword = nullptr;
    QAction* mnuSaveDiagnostics = nullptr;
    QAction* mnuAbout = nullptr;

    QMenu* pm1 = nullptr;
    QMenu* pmAdd = nullptr;

    // Fills the menu bar; the items belong to `window`, so their shortcuts work while it is
    // active.
    static MainMenus Build(QMenuBar* bar, QWidget* window);

    // Enables the Edit and popup items as the list allows.
    void ApplyEditState(const SceneListMenuState& state) const;
};
