// Where the main window's toolbar, column header, edit list and horizontal scroll bar go for a
// client size. Below 600 pixels the toolbar and header keep 600 pixels and the scroll bar
// appears, so that the list's columns can still be reached.
#pragma once

#include <QRect>
#include <QSize>

inline constexpr int kNarrowestLayoutWidth = 600;
inline constexpr int kHeaderHeight = 20;

struct MainLayout {
    QRect toolbar;
    QRect header;
    QRect list;
    bool scrollBarShown = false;
    QRect scrollBar;
    int scrollMaximum = 0;
    int scrollPage = 0;
    int scrollPosition = 0;  // the position after clamping to the new range
};

// toolbarHeight: 0 while the toolbar is hidden. scrollBarExtent: the thickness of a scroll bar,
// also the width of the list's own vertical bar, which the horizontal bar leaves free.
MainLayout ComputeMainLayout(QSize client, int toolbarHeight, int scrollPosition,
                             int scrollBarExtent);
