#include "ui/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "ui/ApplyCaptions.h"

namespace {

constexpr int kFileRole = Qt::UserRole;

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
    auto* splitter = new QSplitter(this);
    tabs_ = new QTabWidget(splitter);
    tabs_->setObjectName(QStringLiteral("pcHelp"));
    tabContents_ = BuildContentsTab();
    tabKeyword_ = BuildKeywordTab();
    tabs_->addTab(tabContents_, QStringLiteral("Contents"));
    tabs_->addTab(tabKeyword_, QStringLiteral("Keyword"));
    browser_ = new QTextBrowser(splitter);
    browser_->setObjectName(QStringLiteral("brwPage"));
    browser_->setSearchPaths({folder_});
    browser_->setOpenExternalLinks(true);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 560});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    ApplyCaptions(this, captions);
    setWindowTitle(captions.CaptionText(QStringLiteral("TI_HELP")));
    resize(800, 560);
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
