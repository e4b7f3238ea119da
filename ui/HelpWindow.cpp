#include "ui/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "ui/ApplyCaptions.h"

namespace {

constexpr int kFileRole = Qt::UserRole;
// The page's width and the window's height at first show, and the least width of the pane.
constexpr int kPageWidth = 560;
constexpr int kWindowHeight = 560;
constexpr int kLeastPaneWidth = 220;
constexpr int kMargin = 4;

QString HelpFolder(const ProgramFolder& folder, int languageCode) {
    const QString contents =
        folder.SuppliedFile(QStringLiteral("help/") + HelpLanguageFolder(languageCode) + u'/' +
                            QLatin1String(HelpIndex::kContentsPage));
    return QFileInfo(contents).absolutePath();
}

}  // namespace

HelpWindow::HelpWindow(const ProgramFolder& folder, const CaptionTable& captions, QWidget* parent)
    : QWidget(parent, Qt::Window),
      folder_(HelpFolder(folder, captions.languageCode())),
      index_(HelpIndex::Load(folder_)) {
    setObjectName(QStringLiteral("frmHelp"));
    splitter_ = new QSplitter(this);
    tabs_ = new QTabWidget(splitter_);
    tabs_->setObjectName(QStringLiteral("pcHelp"));
    tabContents_ = BuildContentsTab();
    tabKeyword_ = BuildKeywordTab();
    tabs_->addTab(tabContents_, QStringLiteral("Contents"));
    tabs_->addTab(tabKeyword_, QStringLiteral("Keyword"));
    browser_ = new QTextBrowser(splitter_);
    browser_->setObjectName(QStringLiteral("brwPage"));
    browser_->setSearchPaths({folder_});
    browser_->setOpenExternalLinks(true);
    splitter_->setStretchFactor(1, 1);
    splitter_->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(splitter_);
    ApplyCaptions(this, captions);
    setWindowTitle(captions.CaptionText(QStringLiteral("TI_HELP")));
    FitContentsPane();
    // A help window is read and put away: Escape and Ctrl+W close it, as they do a viewer.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::FitContentsPane() {
    // The pane takes the width of its longest entry in the captions' font, so no title is cut.
    const int entries = contentsList_->sizeHintForColumn(0) + 2 * contentsList_->frameWidth() +
                        contentsList_->verticalScrollBar()->sizeHint().width();
    contentsList_->setMinimumWidth(entries);
    const int pane = std::max(kLeastPaneWidth, tabs_->minimumSizeHint().width());
    splitter_->setSizes({pane, kPageWidth});
    resize(pane + kPageWidth + splitter_->handleWidth() + 2 * kMargin, kWindowHeight);
}

QWidget* HelpWindow::BuildContentsTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabContents"));
    contentsList_ = new QListWidget(tab);
    contentsList_->setObjectName(QStringLiteral("lstContents"));
    for (const HelpPage& page : index_.pages()) {
        auto* item = new QListWidgetItem(page.title, contentsList_);
        item->setData(kFileRole, page.file);
    }
    connect(contentsList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kFileRole).toString()); });
    connect(contentsList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kFileRole).toString()); });
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(contentsList_);
    return tab;
}

QWidget* HelpWindow::BuildKeywordTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabKeyword"));
    lblKeyword_ = new QLabel(QStringLiteral("Type the word to find:"), tab);
    lblKeyword_->setObjectName(QStringLiteral("lblKeyword"));
    keywordField_ = new QLineEdit(tab);
    keywordField_->setObjectName(QStringLiteral("edKeyword"));
    keywordList_ = new QListWidget(tab);
    keywordList_->setObjectName(QStringLiteral("lstKeyword"));
    btnShow_ = new QPushButton(QStringLiteral("&Show"), tab);
    btnShow_->setObjectName(QStringLiteral("btnShow"));
    connect(keywordField_, &QLineEdit::textChanged, this, &HelpWindow::FilterKeywords);
    connect(keywordField_, &QLineEdit::returnPressed, this, &HelpWindow::ShowSelectedKeyword);
    connect(keywordList_, &QListWidget::itemActivated, this, &HelpWindow::ShowSelectedKeyword);
    connect(btnShow_, &QPushButton::clicked, this, &HelpWindow::ShowSelectedKeyword);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(lblKeyword_);
    layout->addWidget(keywordField_);
    layout->addWidget(keywordList_);
    layout->addWidget(btnShow_);
    FilterKeywords(QString());
    return tab;
}

void HelpWindow::FilterKeywords(const QString& text) {
    keywordList_->clear();
    const QString wanted = text.trimmed();
    for (const HelpKeyword& entry : index_.keywords()) {
        if (!entry.keyword.contains(wanted, Qt::CaseInsensitive))
            continue;
        auto* item = new QListWidgetItem(
            entry.keyword + QStringLiteral("  \u2013  ") + entry.pageTitle, keywordList_);
        item->setData(kFileRole, entry.file);
    }
    // Enter then shows the best match without a further click.
    if (keywordList_->count() > 0)
        keywordList_->setCurrentRow(0);
}

void HelpWindow::ShowSelectedKeyword() {
    if (QListWidgetItem* item = keywordList_->currentItem())
        ShowPage(item->data(kFileRole).toString());
}

void HelpWindow::ShowPage(const QString& file) {
    browser_->setSource(QUrl::fromLocalFile(QDir(folder_).filePath(file)));
}

QString HelpWindow::currentPage() const {
    return QFileInfo(browser_->source().toLocalFile()).fileName();
}

void HelpWindow::Present() {
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowContents() {
    tabs_->setCurrentWidget(tabContents_);
    ShowPage(QLatin1String(HelpIndex::kContentsPage));
    Present();
}

void HelpWindow::ShowKeywordSearch() {
    tabs_->setCurrentWidget(tabKeyword_);
    keywordField_->clear();
    FilterKeywords(QString());
    Present();
    keywordField_->setFocus();
}
