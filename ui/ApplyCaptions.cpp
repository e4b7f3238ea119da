#include "ui/ApplyCaptions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>

#include "config/CaptionTable.h"

namespace {

const QString kHintStyle = QStringLiteral("HINT");

// Qt fonts have no character set; a Japanese run instead follows the style's face with a face
// that has the Japanese glyphs, which is what selecting the Shift-JIS set achieved.
const QStringList kJapaneseFallbackFaces = {QStringLiteral("Noto Sans CJK JP"),
                                            QStringLiteral("IPAGothic")};

void ApplyStyle(QWidget* control, const CaptionTable& table, const QString& styleName,
                int sizeAdjust) {
    const int index = table.FindStyle(styleName);
    // Index 0 is also the answer for an unknown name, so the first style line is never applied.
    if (index == 0)
        return;
    const StyleEntry& style = table.Style(index);
    if (style.KeepsWindowFont())
        return;
    QFont font = control->font();
    QStringList faces = {style.fontName};
    if (table.languageCode() == kLanguageJapanese)
        faces << kJapaneseFallbackFaces;
    font.setFamilies(faces);
    // A size that comes out at zero or less keeps the window's size rather than an unusable one.
    const int points = style.PointSize() - sizeAdjust;
    if (points > 0)
        font.setPointSize(points);
    if (style.IsBold())
        font.setBold(true);
    control->setFont(font);
}

// The tab widget that shows this widget as one of its pages, if any.
QTabWidget* TabWidgetOfPage(QWidget* widget) {
    auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(widget) >= 0 ? tabs : nullptr;
}

// Sets the caption of the controls that show one; false for controls that have none.
bool SetCaption(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget)) {
        static_cast<QAbstractButton*>(widget)->setText(text);
    } else if (QTabWidget* tabs = TabWidgetOfPage(widget)) {
        tabs->setTabText(tabs->indexOf(widget), text);
    } else {
        return false;
    }
    return true;
}

// Controls whose text is their content: only their font comes from the tables.
bool TakesStyleOnly(QWidget* widget) {
    return qobject_cast<QTabWidget*>(widget) || qobject_cast<QListView*>(widget) ||
           qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
           qobject_cast<QTableView*>(widget);
}

void ApplyEntry(QObject* component, const CaptionEntry& entry, const CaptionTable& table,
                int sizeAdjust) {
    if (auto* action = qobject_cast<QAction*>(component)) {
        action->setText(entry.text);
        return;
    }
    auto* widget = qobject_cast<QWidget*>(component);
    if (widget == nullptr)
        return;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        menu->setTitle(entry.text);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        if (entry.styleName == kHintStyle) {
            button->setToolTip(entry.text);
            return;
        }
        button->setText(entry.text);
        ApplyStyle(button, table, entry.styleName, sizeAdjust);
    } else if (SetCaption(widget, entry.text) || TakesStyleOnly(widget)) {
        ApplyStyle(widget, table, entry.styleName, sizeAdjust);
    }
}

qreal ScreenDotsPerInch(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr)
        return 96.0;
    // With high-DPI scaling the logical figure stays near 96 and the scale factor carries the
    // rest; their product is the screen's real density.
    return screen->logicalDotsPerInch() * screen->devicePixelRatio();
}

}  // namespace

int SizeAdjustForDpi(qreal dotsPerInch) {
    return dotsPerInch > 108.0 ? 1 : 0;
}

void ApplyCaptions(QWidget* window, const CaptionTable& table) {
    ApplyCaptions(window, table, ScreenDotsPerInch(window));
}

void ApplyCaptions(QWidget* window, const CaptionTable& table, qreal dotsPerInch) {
    if (window == nullptr)
        return;
    const int sizeAdjust = SizeAdjustForDpi(dotsPerInch);
    // Every window belongs to the application, so the application object is the window's owner.
    const QObject* application = QCoreApplication::instance();
    const ComponentNames names{window->objectName(),
                               application ? application->objectName() : QString(), QString()};
    const QList<QObject*> components = window->findChildren<QObject*>();
    for (QObject* component : components) {
        ComponentNames lookup = names;
        lookup.name = component->objectName();
        const int index = table.FindComponentEntry(lookup);
        if (index >= 0)
            ApplyEntry(component, table.Caption(index), table, sizeAdjust);
    }
}
