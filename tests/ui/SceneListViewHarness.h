// A scene list shown in a real SceneListView on the offscreen platform, with a hand-driven clock
// and mouse helpers that carry modifier keys through every step of a drag.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "config/CaptionTable.h"
#include "config/ProgramFolder.h"
#include "edit/SceneListFixtures.h"
#include "ui/EditHistory.h"
#include "ui/PictureLists.h"
#include "ui/SceneListView.h"

inline ProgramFolder BuiltProgramFolder() {
    const QString bin = QCoreApplication::applicationDirPath();
    return ProgramFolder(bin, {bin});
}

class SceneListViewHarness {
public:
    explicit SceneListViewHarness(int scenes, QSize size = QSize(640, 200))
        : view(list, history, pictures) {
        pictures.Load(BuiltProgramFolder());
        FillScenes(list, scenes);
        list.SelectOnly(0);
        list.SetModified(false);
        view.SetTickSource([this] { return now; });
        view.resize(size);
        view.show();
        QCoreApplication::processEvents();
    }

    QWidget* Viewport() { return view.viewport(); }
    int Scroll() const { return view.verticalScrollBar()->value(); }
    // A point in the middle of row i's in point, as the viewport shows it now.
    QPoint RowPoint(int i) const {
        return QPoint(SceneListView::kInLeft + 20,
                      i * SceneListView::kRowHeight - Scroll() + SceneListView::kRowHeight / 2);
    }

    void Press(int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mousePress(Viewport(), Qt::LeftButton, mods, RowPoint(row));
    }
    void Release(int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseRelease(Viewport(), Qt::LeftButton, mods, RowPoint(row));
    }
    void Click(int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(row, mods);
        Release(row, mods);
    }
    // A move with the left button held; QTest's own move carries no modifier keys.
    void DragTo(const QPoint& pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent move(QEvent::MouseMove, pos, Viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::LeftButton, mods);
        QApplication::sendEvent(Viewport(), &move);
    }
    void Drag(int from, int to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(from, mods);
        DragTo(RowPoint(to), mods);
        Release(to, mods);
    }

    qint64 now = 100000;
    SceneList list;
    CaptionTable captions;
    EditHistory history{list, captions};
    PictureLists pictures;
    SceneListView view;
};
