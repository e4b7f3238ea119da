#include "ui/SceneListAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include "edit/SceneList.h"
#include "ui/SceneListView.h"
#include "ui/SceneListWords.h"

namespace {

constexpr int kColumns = SceneListWords::ColumnCount;
// Left edge of each column in the row, then the memo's, which runs to the row's end.
constexpr int kColumnLeft[kColumns] = {SceneListView::kNumberLeft,     SceneListView::kInLeft,
                                       SceneListView::kEffectLeft,     SceneListView::kOutLeft,
                                       SceneListView::kTransitionLeft, SceneListView::kDurationLeft,
                                       SceneListView::kMemoLeft};

QString CellText(const SceneListView& view, int row, int column) {
    const Scene& scene = view.scenes().row(row);
    const SceneListWords& words = view.words();
    switch (column) {
        case SceneListWords::Number:
            return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
        case SceneListWords::In:
            return scene.tapeChange ? words.tapeChange : scene.inText;
        case SceneListWords::Effect:
            return scene.tapeChange ? QString() : words.EffectName(scene.effect);
        case SceneListWords::Out:
            return scene.tapeChange ? QString() : scene.outText;
        case SceneListWords::Transition:
            return words.TransitionName(scene.transition);
        case SceneListWords::Duration:
            return scene.tapeChange ? QString() : scene.durationText;
        default:
            return scene.memo;
    }
}

class SceneListCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    SceneListCell(SceneListView* view, int row, int column)
        : view_(view), row_(row), column_(column) {}

    bool isValid() const override { return view_ && row_ < view_->scenes().count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? CellText(*view_, row_, column_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect row = view_->RowRect(row_);
        const int right = column_ + 1 < kColumns ? kColumnLeft[column_ + 1] : row.right() + 1;
        const QRect local(kColumnLeft[column_], row.top(), right - kColumnLeft[column_],
                          row.height());
        return QRect(view_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = view_->hasFocus() && view_->scenes().current() == row_ && column_ == 0;
        const QRect shown = view_->viewport()->rect();
        state.invisible = !shown.intersects(view_->RowRect(row_));
        state.offscreen = state.invisible;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return isValid() && view_->scenes().row(row_).selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<SceneListView> view_;
    int row_;
    int column_;
};

class SceneListTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit SceneListTable(SceneListView* view)
        : QAccessibleWidget(view, QAccessible::Table), view_(view) {}
    ~SceneListTable() override { ForgetCells(); }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? view_->words().listName : QAccessibleWidget::text(t);
    }
    int childCount() const override { return rowCount() * kColumns; }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? cellAt(index / kColumns, index % kColumns)
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessibleTableCellInterface* cell =
            const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell ? cell->rowIndex() * kColumns + cell->columnIndex() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = view_->viewport()->mapFromGlobal(QPoint(x, y));
        const int row = view_->RowAt(local);
        if (row < 0 || !view_->viewport()->rect().contains(local))
            return nullptr;
        int column = kColumns - 1;
        while (column > 0 && local.x() < kColumnLeft[column])
            --column;
        return cellAt(row, column);
    }
    QAccessibleInterface* focusChild() const override {
        return view_->hasFocus() ? cellAt(view_->scenes().current(), 0) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
            return nullptr;
        const int key = row * kColumns + column;
        if (const auto known = cells_.constFind(key); known != cells_.constEnd())
            return QAccessible::accessibleInterface(*known);
        auto* cell = new SceneListCell(view_, row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int selectedCellCount() const override { return selectedRowCount() * kColumns; }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows()) {
            for (int column = 0; column < kColumns; ++column)
                cells << cellAt(row, column);
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        return view_->words().columns.value(column);
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return view_->scenes().selectedCount(); }
    int columnCount() const override { return kColumns; }
    int rowCount() const override { return view_->scenes().count(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (int row = 0; row < rowCount(); ++row) {
            if (view_->scenes().row(row).selected)
                rows << row;
        }
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override {
        return row >= 0 && row < rowCount() && view_->scenes().row(row).selected;
    }
    // A screen reader's selection works as Ctrl+click does: rows join or leave the selection.
    bool selectRow(int row) override { return SetRowSelected(row, true); }
    bool unselectRow(int row) override { return SetRowSelected(row, false); }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { ForgetCells(); }

private:
    bool SetRowSelected(int row, bool on) {
        if (row < 0 || row >= rowCount())
            return false;
        SceneList& list = view_->scenes();
        list.SetCurrentRow(row);
        list.HighlightRow(row, on);
        list.CommitShownSelection();
        return true;
    }
    // Cells stand for a row and column: after the rows changed they are made afresh.
    void ForgetCells() {
        for (QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    SceneListView* view_;
    mutable QHash<int, QAccessible::Id> cells_;
};

QAccessibleInterface* SceneListFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("SceneListView") && object->isWidgetType())
        return new SceneListTable(static_cast<SceneListView*>(object));
    return nullptr;
}

}  // namespace

void InstallSceneListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(SceneListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void AttachSceneListAccessibility(SceneListView* view, SceneList& list) {
    InstallSceneListAccessibility();
    QObject::connect(&list, &SceneList::rowsChanged, view, [view] {
        QAccessibleTableModelChangeEvent reset(view, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    });
    QObject::connect(&list, &SceneList::selectionChanged, view, [view] {
        QAccessibleEvent selection(view, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&selection);
    });
    QObject::connect(&list, &SceneList::currentChanged, view, [view](int current) {
        if (!QAccessible::isActive() || !view->hasFocus())
            return;
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
        if (QAccessibleInterface* cell = table->tableInterface()->cellAt(current, 0)) {
            QAccessibleEvent focus(cell, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    });
}
