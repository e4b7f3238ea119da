#include "app/TfrmEDS.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include "app/AppContext.h"
#include "app/ControllerButton.h"
#include "app/MainLayout.h"
#include "app/UserPrompts.h"
#include "config/SettingsKeys.h"
#include "controller/TfrmAvCtl.h"
#include "edit/EffectRules.h"
#include "ui/ApplyCaptions.h"
#include "ui/DeviceSetupToolbar.h"
#include "ui/EditHistory.h"
#include "ui/EffectToolbar.h"
#include "ui/HelpWindow.h"
#include "ui/SceneListView.h"
#include "ui/TfrmCrct.h"
#include "ui/TfrmTitle.h"
#include "ui/WindowOwner.h"
#include "ui/WindowPositions.h"

namespace {

constexpr int kToolbarHeight = 54;
constexpr int kWheelStep = 20;  // one row of the list

// Left edges of the column captions, over the row fields they name.
struct HeaderColumn {
    const char* name;
    const char* caption;
    int left;
};
constexpr HeaderColumn kHeaderColumns[] = {
    {"lblNum", "No.", 8},         {"lblIn", "In Point", 40},
    {"lblOut", "Out Point", 168}, {"lblDTime", "Duration Time", 296},
    {"lblMemo", "Memo", 392},
};

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

TfrmEDS::TfrmEDS(AppContext& context, UserPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), context_(context), prompts_(prompts), document_(context, prompts, this) {
    setObjectName(QStringLiteral("frmEDS"));
    setAcceptDrops(false);  // only once the first show has set up the list
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("pnlClient"));
    setCentralWidget(client);
    menus_ = MainMenus::Build(menuBar(), this);
    BuildToolbar(client);
    pictures_.Load(context_.programFolder());
    list_ = new SceneListView(context_.scenes(), context_.history(), pictures_, client);
    list_->setObjectName(QStringLiteral("List"));
    list_->SetRowPopup(menus_.pm1);
    list_->SetLanguageCode(context_.captions().languageCode());
    list_->SetWords(SceneListWords::FromCaptions(context_.captions()));
    // The wheel moves the list one row per notch wherever the pointer is over the window.
    list_->viewport()->installEventFilter(this);
    BuildHeader(client);
    BuildEffectToolbar();
    scrollBar_ = new QScrollBar(Qt::Horizontal, client);
    scrollBar_->setObjectName(QStringLiteral("ScrollBar1"));
    scrollBar_->setSingleStep(8);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { FormResize(); });

    context_.settings().SetReporter(this);
    ApplyCaptions(this, context_.captions());
    controllerButton_->setToolTip(Text("CTL_WIN"));
    toolbarHeight_ = kToolbarHeight;
    ConnectMenus();
    ConnectList();
    connect(&document_, &ProjectDocument::fileNameChanged, this, [this] {
        UpdateTitle();
        UpdateFileMenu();
    });
    UpdateTitle();
    UpdateTotal();
    UpdateEditMenu();
    UpdateFileMenu();
    resize(640, 480);
}

// The effect block sits to the right of the total time; its buttons keep their own layout.
constexpr QRect kEffectPanelPlace{190, 0, 372, kToolbarHeight};

TfrmEDS::~TfrmEDS() {
    context_.settings().SetReporter(nullptr);
}

void TfrmEDS::BuildToolbar(QWidget* client) {
    toolbar_ = new QFrame(client);
    toolbar_->setObjectName(QStringLiteral("pnlToolBar"));
    controllerButton_ = new ControllerButton(context_.programFolder(), toolbar_);
    controllerButton_->move(2, 0);
    controllerButton_->setEnabled(false);  // until the deck controller joins the program
    QLabel* caption = AddLabel(toolbar_, "lblTTime", QStringLiteral("Total Time"));
    caption->setGeometry(64, 5, 120, 17);
    totalTime_ = AddLabel(toolbar_, "pnlTotalTime", QStringLiteral("00:00:00:00"));
    totalTime_->setGeometry(64, 24, 116, 24);
    totalTime_->setFrameShape(QFrame::Panel);
    totalTime_->setFrameShadow(QFrame::Sunken);
    totalTime_->setAlignment(Qt::AlignCenter);
    QFont fixed = totalTime_->font();
    fixed.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPointSize(11);
    totalTime_->setFont(fixed);
}

void TfrmEDS::SetSetupWindows(QDialog* options, QDialog* devices, QWidget* monitor) {
    optionsDialog_ = options;
    devicesDialog_ = devices;
    monitorWindow_ = monitor;
    menus_.mnuOpt->setEnabled(options != nullptr);
    menus_.mnuDev->setEnabled(devices != nullptr);
    menus_.mnuMoni->setEnabled(monitor != nullptr);
    connect(menus_.mnuOpt, &QAction::triggered, this, [this] {
        if (optionsDialog_)
            optionsDialog_->exec();
    });
    connect(menus_.mnuDev, &QAction::triggered, this, [this] {
        // With the controller, the polling pauses while the dialog is up.
        if (controller_)
            controller_->RunDeviceSetup();
        else if (devicesDialog_)
            devicesDialog_->exec();
    });
    connect(menus_.mnuMoni, &QAction::triggered, this, [this] {
        if (monitorWindow_) {
            monitorWindow_->show();
            monitorWindow_->raise();
        }
    });
    // Closing the device setup settles the player's capabilities and what the toolbar offers.
    context_.deviceSetup().SetPlayerChoiceHandler([this](const DeviceConfig& config) {
        CDevCaps& caps = context_.capabilities();
        if (effectToolbar_)
            ApplyDeviceSetupToEffects(caps, *effectToolbar_, config.playerId, config.Player());
        return static_cast<int>(caps.ModelCode());
    });
}

void TfrmEDS::BuildEffectToolbar() {
    effectPanel_ = new QWidget(toolbar_);
    effectPanel_->setObjectName(QStringLiteral("pnlEffects"));
    effectPanel_->setGeometry(kEffectPanelPlace);
    rules_ = std::make_unique<EffectRules>(context_.scenes(), context_.capabilities(),
                                           context_.captions());
    rules_->SetMessageSink(
        [this](const QString& text) { prompts_.ShowWarning(this, Text("TI_MAIN"), text); });
    rules_->AttachToList();
    effectToolbar_ = new EffectToolbar(effectPanel_, pictures_, context_.captions(),
                                       context_.capabilities(), *rules_, context_.history());
    effectToolbar_->ClearHoverOver(toolbar_);
    effectToolbar_->ClearHoverOver(header_);
}

void TfrmEDS::BuildHeader(QWidget* client) {
    header_ = new QFrame(client);
    header_->setObjectName(QStringLiteral("pnlHeader"));
    header_->setFrameShape(QFrame::StyledPanel);
    header_->setAutoFillBackground(true);
    // The list's rows start inside its frame; the captions follow them.
    const int frame = list_->frameWidth();
    for (const HeaderColumn& column : kHeaderColumns) {
        QLabel* label = AddLabel(header_, column.name, QLatin1String(column.caption));
        label->move(frame + column.left, 2);
    }
}

void TfrmEDS::ConnectMenus() {
    const MainMenus& m = menus_;
    SceneList& scenes = context_.scenes();
    connect(m.mnuFile, &QMenu::aboutToShow, this, &TfrmEDS::UpdateFileMenu);
    connect(m.mnuEdit, &QMenu::aboutToShow, this, &TfrmEDS::UpdateEditMenu);
    connect(m.pm1, &QMenu::aboutToShow, this, &TfrmEDS::UpdateEditMenu);
    connect(m.mnuNew, &QAction::triggered, this, &TfrmEDS::mnuNewClick);
    connect(m.mnuOpen, &QAction::triggered, this, &TfrmEDS::mnuOpenClick);
    connect(m.mnusave, &QAction::triggered, this, &TfrmEDS::mnusaveClick);
    connect(m.mnuSaveas, &QAction::triggered, this, &TfrmEDS::mnuSaveasClick);
    connect(m.mnuImportEdl, &QAction::triggered, this, &TfrmEDS::mnuImportEdlClick);
    connect(m.mnuExportEdl, &QAction::triggered, this, &TfrmEDS::mnuExportEdlClick);
    connect(m.mnuExit, &QAction::triggered, this, &QWidget::close);
    EditHistory& history = context_.history();
    history.AttachActions(m.mnuUndo, m.mnuRedo);
    connect(m.mnuCut, &QAction::triggered, this,
            [&] { history.Perform(EditStep::Cut, [&] { scenes.Cut(); }); });
    connect(m.mnuCopy, &QAction::triggered, &scenes, &SceneList::Copy);
    connect(m.mnuPaste, &QAction::triggered, this,
            [&] { history.Perform(EditStep::Paste, [&] { scenes.Paste(); }); });
    connect(m.mnuDel, &QAction::triggered, this, &TfrmEDS::mnuDelClick);
    connect(m.mnuMod, &QAction::triggered, this, &TfrmEDS::mnuModClick);
    connect(m.mnuAllSel, &QAction::triggered, &scenes, &SceneList::SelectAll);
    connect(m.mnuNonSel, &QAction::triggered, &scenes, &SceneList::SelectNone);
    for (QAction* add : {m.mnuScene, m.mnuTChange})
        connect(add, &QAction::triggered, this, [this, add] { mnuSceneClick(add); });
    connect(m.mnuToolbar, &QAction::toggled, this, &TfrmEDS::mnuToolbarClick);
    connect(m.mnuCont, &QAction::triggered, this, &TfrmEDS::mnuContClick);
    connect(m.mnuKeyword, &QAction::triggered, this, &TfrmEDS::mnuKeywordClick);
    connect(m.mnuAbout, &QAction::triggered, this, &TfrmEDS::mnuAboutClick);
}

void TfrmEDS::ConnectList() {
    SceneList& scenes = context_.scenes();
    // Shortcuts act without the menu being opened, so the enabled items follow every change.
    connect(&scenes, &SceneList::selectionChanged, this, &TfrmEDS::UpdateEditMenu);
    connect(&scenes, &SceneList::rowsChanged, this, &TfrmEDS::UpdateEditMenu);
    connect(&scenes, &SceneList::rowsChanged, this, &TfrmEDS::UpdateTotal);
    connect(&scenes, &SceneList::modifiedChanged, this, &QWidget::setWindowModified);
    connect(list_, &SceneListView::modifyRequested, this, &TfrmEDS::ModifyRow);
}

QString TfrmEDS::Text(const char* key) const {
    return context_.Text(QLatin1String(key));
}

// --- Closing -----------------------------------------------------------------------------------

void TfrmEDS::EndWithoutQuestions() {
    endingWithoutQuestions_ = true;
    close();
}

void TfrmEDS::closeEvent(QCloseEvent* event) {
    if (!endingWithoutQuestions_ && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TfrmEDS::FormCloseQuery() {
    if (!document_.AskSaveChanges())
        return false;
    return prompts_.AskYesNo(this, Text("TI_MAIN"), Text("MSG_CLOSE"));
}

void TfrmEDS::FormClose() {
    SettingsFile& settings = context_.settings();
    if (!document_.currentFileName().isEmpty())
        settings.WriteString(settings_keys::kProgram, document_.currentFileName());
    settings.WriteInteger(settings_keys::kFrameMode,
                          static_cast<int32_t>(context_.scenes().timecodeMode()));
    SavePosition(this, settings);
    if (controller_) {
        settings.WriteInteger(settings_keys::kVtrWindow, controller_->isVisible() ? 1 : 0);
        // Closing it stops the polling and the port; a hidden one still has its place saved.
        controller_->close();
        SavePosition(controller_, settings);
    }
    if (help_ != nullptr)
        help_->close();
    context_.instanceLock().Release();
}

// --- Layout, wheel and keys --------------------------------------------------------------------

void TfrmEDS::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmEDS::FormResize() {
    QWidget* client = centralWidget();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int shownToolbar = menus_.mnuToolbar->isChecked() ? toolbarHeight_ : 0;
    const MainLayout layout =
        ComputeMainLayout(client->size(), shownToolbar, scrollBar_->value(), extent);
    toolbar_->setGeometry(layout.toolbar);
    toolbar_->setVisible(shownToolbar > 0);
    header_->setGeometry(layout.header);
    list_->setGeometry(layout.list);
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setRange(0, layout.scrollMaximum);
    scrollBar_->setPageStep(layout.scrollPage);
    scrollBar_->setValue(layout.scrollPosition);
    scrollBar_->setGeometry(layout.scrollBar);
    scrollBar_->setVisible(layout.scrollBarShown);
}

void TfrmEDS::ScrollListBy(int pixels) {
    QScrollBar* bar = list_->verticalScrollBar();
    bar->setValue(qBound(0, bar->value() + pixels, bar->maximum()));
}

void TfrmEDS::wheelEvent(QWheelEvent* event) {
    ScrollListBy(event->angleDelta().y() <= 0 ? kWheelStep : -kWheelStep);
    event->accept();
}

bool TfrmEDS::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Dropped files -----------------------------------------------------------------------------

void TfrmEDS::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void TfrmEDS::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // Only the first file counts; the drop is finished before any question is asked, so the
    // file manager is not left waiting on the answer.
    const QString path = urls.first().toLocalFile();
    QTimer::singleShot(0, this, [this, path] { OpenAsDropped(path); });
}

bool TfrmEDS::OpenAsDropped(const QString& path) {
    return document_.OpenAsDropped(path);
}

// --- File menu ---------------------------------------------------------------------------------

void TfrmEDS::mnuNewClick() {
    document_.New();
}

void TfrmEDS::mnuOpenClick() {
    document_.Open();
}

void TfrmEDS::mnusaveClick() {
    document_.Save();
}

bool TfrmEDS::mnuSaveasClick() {
    return document_.SaveAs();
}

void TfrmEDS::mnuImportEdlClick() {
    document_.ImportEdl();
}

void TfrmEDS::mnuExportEdlClick() {
    document_.ExportEdl();
}

void TfrmEDS::UpdateFileMenu() {
    menus_.mnusave->setEnabled(document_.CanSave());
}

void TfrmEDS::UpdateTitle() {
    QString title = Text("TI_MAIN");
    // A "[*]" in a file's name is text, written doubled, not the place of the unsaved mark.
    QString file = document_.currentFileName();
    file.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    if (!file.isEmpty())
        title += QStringLiteral(" [") + file + u']';
    // The desktop's mark of unsaved work follows the list's modified flag.
    setWindowTitle(title + QStringLiteral("[*]"));
}

void TfrmEDS::UpdateTotal() {
    totalTime_->setText(context_.scenes().totalText());
}

// --- Edit menu ---------------------------------------------------------------------------------

void TfrmEDS::UpdateEditMenu() {
    context_.scenes().CountSelected();
    menus_.ApplyEditState(context_.scenes().MenuState());
    // Modify Edit Points needs the scene correction dialog.
    if (!correction_)
        menus_.mnuMod->setEnabled(false);
}

void TfrmEDS::mnuDelClick() {
    SceneList& scenes = context_.scenes();
    scenes.CountSelected();
    const QString question =
        context_.captions().CountedText(QStringLiteral("MSG_DEL"), scenes.selectedCount());
    if (prompts_.AskYesNo(this, Text("TI_MAIN"), question))
        context_.history().Perform(EditStep::Delete, [&] { scenes.DeleteSelected(); });
}

void TfrmEDS::SetCorrectionDialog(TfrmCrct* dialog) {
    correction_ = dialog;
    UpdateEditMenu();
}

void TfrmEDS::mnuModClick() {
    ModifyRow(context_.scenes().FirstSelected());
}

void TfrmEDS::ModifyRow(int row) {
    if (correction_ && row >= 0 && row < context_.scenes().count())
        correction_->ModifyRow(context_.scenes(), context_.history(), row);
}

void TfrmEDS::mnuSceneClick(QAction* item) {
    const auto kind = static_cast<SceneList::RowKind>(item->data().toInt());
    context_.history().Perform(
        kind == SceneList::RowKind::Scene ? EditStep::AddScene : EditStep::AddTapeChange,
        [&] { context_.scenes().AddRow(kind); });
}

void TfrmEDS::mnuToolbarClick(bool) {
    FormResize();
}

// --- Help --------------------------------------------------------------------------------------

HelpWindow& TfrmEDS::EnsureHelpWindow() {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>(context_.programFolder(), context_.captions());
        KeepAboveOwner(help_.get(), this);
        CentreOnScreen(help_.get());
    }
    return *help_;
}

void TfrmEDS::mnuContClick() {
    EnsureHelpWindow().ShowContents();
}

void TfrmEDS::mnuKeywordClick() {
    EnsureHelpWindow().ShowKeywordSearch();
}

void TfrmEDS::mnuAboutClick() {
    if (title_)
        title_->exec();
}

// --- Questions and messages --------------------------------------------------------------------

void TfrmEDS::ReportMalformedInteger(const QString& file, const QString& section,
                                     const QString& key, const QString& text) {
    prompts_.ShowWarning(this, Text("TI_MAIN"), MalformedIntegerMessage(file, section, key, text));
}

// --- Deck controller ---------------------------------------------------------------------------

void TfrmEDS::AttachController(TfrmAvCtl* controller) {
    controller_ = controller;
    tmCtl_.setObjectName(QStringLiteral("tmCtl"));
    tmCtl_.setSingleShot(true);
    tmCtl_.setInterval(100);
    connect(&tmCtl_, &QTimer::timeout, this, [this] {
        if (!controller_)
            return;
        controller_->show();  // its show enables this window and restores the cursor
        // This window has only just come up and may take the focus after it: the controller
        // asks to be in front, or a window manager stacks it behind.
        controller_->raise();
        controller_->activateWindow();
    });
    menus_.mnuCtl->setEnabled(true);
    controllerButton_->setEnabled(true);
    connect(menus_.mnuCtl, &QAction::triggered, this, &TfrmEDS::OpenController);
    connect(controllerButton_, &ControllerButton::clicked, this, &TfrmEDS::OpenController);
    connect(controller, &TfrmAvCtl::helpContentsRequested, this, &TfrmEDS::mnuContClick);
    connect(controller, &TfrmAvCtl::helpKeywordRequested, this, &TfrmEDS::mnuKeywordClick);
    connect(controller, &TfrmAvCtl::aboutRequested, this, &TfrmEDS::mnuAboutClick);
    connect(controller, &TfrmAvCtl::modifyRowRequested, this, &TfrmEDS::ModifyRow);
    connect(controller, &TfrmAvCtl::listEndRequested, this, [this] {
        QScrollBar* bar = list_->verticalScrollBar();
        if (bar->maximum() != 0)
            bar->setValue(bar->maximum());
    });
}

void TfrmEDS::OpenController() {
    if (!controller_)
        return;
    if (controller_->isMinimized()) {
        controller_->showNormal();
    } else if (controller_->isVisible()) {
        controller_->setEnabled(true);
        controller_->raise();
        controller_->activateWindow();
    } else {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        setEnabled(false);
        controller_->show();
    }
}
