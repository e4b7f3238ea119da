#include "app/MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "edit/SceneList.h"

namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction* AddItem(QMenu* menu, QWidget* window, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    // The caption tables look items up among the window's children.
    item->setParent(window);
    return item;
}

// Items whose windows are built by later parts of the program: present, but nothing to open yet.
QAction* AddUnavailableItem(QMenu* menu, QWidget* window, const char* name,
                            const QString& caption) {
    QAction* item = AddItem(menu, window, name, caption);
    item->setEnabled(false);
    return item;
}

void BuildFileMenu(MainMenus& m, QMenuBar* bar, QWidget* w) {
    m.mnuFile = AddMenu(bar, "mnuFile", QStringLiteral("&File"));
    m.mnuNew =
        AddItem(m.mnuFile, w, "mnuNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    m.mnuOpen = AddItem(m.mnuFile, w, "mnuOpen", QStringLiteral("&Open..."),
                        QKeySequence(Qt::CTRL | Qt::Key_O));
    m.mnusave = AddItem(m.mnuFile, w, "mnusave", QStringLiteral("&Save..."),
                        QKeySequence(Qt::CTRL | Qt::Key_S));
    m.mnuSaveas = AddItem(m.mnuFile, w, "mnuSaveas", QStringLiteral("Save &as..."));
    m.mnuFile->addSeparator();
    m.mnuImportEdl = AddItem(m.mnuFile, w, "mnuImportEdl", QStringLiteral("&Import EDL..."));
    m.mnuExportEdl = AddItem(m.mnuFile, w, "mnuExportEdl", QStringLiteral("&Export EDL..."));
    m.mnuFile->addSeparator();
    m.mnuExit = AddItem(m.mnuFile, w, "mnuExit", QStringLiteral("E&xit"),
                        QKeySequence(Qt::CTRL | Qt::Key_F4));
    // The desktop's own quit key as well.
    m.mnuExit->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_Q)});
}

void BuildEditMenu(MainMenus& m, QMenuBar* bar, QWidget* w) {
    m.mnuEdit = AddMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    m.mnuUndo = AddItem(m.mnuEdit, w, "mnuUndo", QStringLiteral("&Undo"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.mnuRedo = AddItem(m.mnuEdit, w, "mnuRedo", QStringLiteral("&Redo"));
    m.mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m.mnuEdit->addSeparator();
    m.mnuCut =
        AddItem(m.mnuEdit, w, "mnuCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    m.mnuCopy = AddItem(m.mnuEdit, w, "mnuCopy", QStringLiteral("&Copy"),
                        QKeySequence(Qt::CTRL | Qt::Key_C));
    m.mnuPaste = AddItem(m.mnuEdit, w, "mnuPaste", QStringLiteral("&Paste"),
                         QKeySequence(Qt::CTRL | Qt::Key_V));
    m.mnuDel =
        AddItem(m.mnuEdit, w, "mnuDel", QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete));
    m.mnuEdit->addSeparator();
    m.mnuAllSel = AddItem(m.mnuEdit, w, "mnuAllSel", QStringLiteral("Select &All"),
                          QKeySequence(Qt::CTRL | Qt::Key_A));
    m.mnuNonSel = AddItem(m.mnuEdit, w, "mnuNonSel", QStringLiteral("&Not Select"),
                          QKeySequence(Qt::CTRL | Qt::Key_D));
    m.mnuEdit->addSeparator();
    m.mnuMod = AddItem(m.mnuEdit, w, "mnuMod", QStringLiteral("&Modify Edit Points"));
    m.mnuAdd = m.mnuEdit->addMenu(QStringLiteral("A&dd"));
    m.mnuAdd->setObjectName(QStringLiteral("mnuAdd"));
    m.mnuScene = AddItem(m.mnuAdd, w, "mnuScene", QStringLiteral("&Scene"));
    m.mnuScene->setData(static_cast<int>(SceneList::RowKind::Scene));
    m.mnuTChange = AddItem(m.mnuAdd, w, "mnuTChange", QStringLiteral("&Tape Change"));
    m.mnuTChange->setData(static_cast<int>(SceneList::RowKind::TapeChange));
}

void BuildOtherMenus(MainMenus& m, QMenuBar* bar, QWidget* w) {
    m.mnuView = AddMenu(bar, "mnuView", QStringLiteral("&View"));
    m.mnuToolbar = AddItem(m.mnuView, w, "mnuToolbar", QStringLiteral("&Toolbar"));
    m.mnuToolbar->setCheckable(true);
    m.mnuToolbar->setChecked(true);

    m.mnuProgram = AddMenu(bar, "mnuProgram", QStringLiteral("P&rogram"));
    // Like Auto Rec on the controller, it has no shortcut: a deck run is never started by a
    // stray key. The deck controller's wiring makes it work.
    m.mnuResume =
        AddUnavailableItem(m.mnuProgram, w, "mnuResume", QStringLiteral("&Resume Auto Rec"));

    m.mnuPref = AddMenu(bar, "mnuPref", QStringLiteral("&Preference"));
    m.mnuOpt = AddUnavailableItem(m.mnuPref, w, "mnuOpt", QStringLiteral("&Options..."));
    m.mnuDev = AddUnavailableItem(m.mnuPref, w, "mnuDev", QStringLiteral("Tarn &Devices..."));

    m.mnuWindow = AddMenu(bar, "mnuWindow", QStringLiteral("&Window"));
    m.mnuCtl = AddUnavailableItem(m.mnuWindow, w, "mnuCtl", QStringLiteral("&Controller"));
    m.mnuMoni = AddUnavailableItem(m.mnuWindow, w, "mnuMoni", QStringLiteral("Tarn &Monitor"));

    m.mnuHelp = AddMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    m.mnuCont =
        AddItem(m.mnuHelp, w, "mnuCont", QStringLiteral("&Content"), QKeySequence(Qt::Key_F1));
    m.mnuKeyword = AddItem(m.mnuHelp, w, "mnuKeyword", QStringLiteral("&Keyword"));
    m.mnuHelp->addSeparator();
    m.mnuSaveDiagnostics =
        AddItem(m.mnuHelp, w, "mnuSaveDiagnostics", QStringLiteral("Save &Diagnostics..."));
    m.mnuAbout = AddItem(m.mnuHelp, w, "mnuAbout", QStringLiteral("&About..."));
}

// The row popup shows the same items as the Edit menu, so one caption and one enabling rule
// serve both.
void BuildPopup(MainMenus& m, QWidget* w) {
    m.pm1 = new QMenu(w);
    m.pm1->setObjectName(QStringLiteral("pm1"));
    m.pm1->addActions({m.mnuUndo, m.mnuRedo});
    m.pm1->addSeparator();
    m.pm1->addActions({m.mnuCut, m.mnuCopy, m.mnuPaste, m.mnuDel});
    m.pm1->addSeparator();
    m.pm1->addAction(m.mnuMod);
    m.pmAdd = m.pm1->addMenu(QStringLiteral("A&dd"));
    m.pmAdd->setObjectName(QStringLiteral("pmAdd"));
    m.pmAdd->addActions({m.mnuScene, m.mnuTChange});
}

}  // namespace

MainMenus MainMenus::Build(QMenuBar* bar, QWidget* window) {
    MainMenus menus;
    BuildFileMenu(menus, bar, window);
    BuildEditMenu(menus, bar, window);
    BuildOtherMenus(menus, bar, window);
    BuildPopup(menus, window);
    return menus;
}

void MainMenus::ApplyEditState(const SceneListMenuState& state) const {
    mnuCopy->setEnabled(state.copy);
    mnuCut->setEnabled(state.cut);
    mnuPaste->setEnabled(state.paste);
    mnuDel->setEnabled(state.deleteRows);
    mnuNonSel->setEnabled(state.selectNone);
    mnuMod->setEnabled(state.modify);
    mnuScene->setEnabled(state.add);
    mnuTChange->setEnabled(state.add);
    mnuAdd->setEnabled(state.add);
    pmAdd->setEnabled(state.add);
}
