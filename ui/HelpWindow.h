// The help window: the program's help pages in a browser, with a Contents list of the pages and
// a Keyword search over the words each page lists. Help › Content opens it on the contents page,
// Help › Keyword on the keyword search with an empty field. Escape or Ctrl+W closes it.
#pragma once

#include <QWidget>

#include "config/HelpIndex.h"

class CaptionTable;
class ProgramFolder;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // The pages of the captions' language, from the program folder's own help/ when present,
    // else the installed ones.
    HelpWindow(const ProgramFolder& folder, const CaptionTable& captions,
               QWidget* parent = nullptr);

    void ShowContents();
    void ShowKeywordSearch();

    QTabWidget* tabs() const { return tabs_; }
    QListWidget* contentsList() const { return contentsList_; }
    QLineEdit* keywordField() const { return keywordField_; }
    QListWidget* keywordList() const { return keywordList_; }
    QTextBrowser* browser() const { return browser_; }
    // The file name of the page on show.
    QString currentPage() const;

private:
    QWidget* BuildContentsTab();
    QWidget* BuildKeywordTab();
    void FilterKeywords(const QString& text);
    void ShowPage(const QString& file);
    void ShowSelectedKeyword();
    void Present();
    void FitContentsPane();

    QString folder_;
    HelpIndex index_;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* tabContents_ = nullptr;
    QWidget* tabKeyword_ = nullptr;
    QListWidget* contentsList_ = nullptr;
    QLabel* lblKeyword_ = nullptr;
    QLineEdit* keywordField_ = nullptr;
    QListWidget* keywordList_ = nullptr;
    QPushButton* btnShow_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};
