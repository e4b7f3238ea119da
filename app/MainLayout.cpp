#include "app/MainLayout.h"

#include <algorithm>

MainLayout ComputeMainLayout(QSize client, int toolbarHeight, int scrollPosition,
                             int scrollBarExtent) {
    MainLayout layout;
    const int width = client.width();
    const bool narrow = width < kNarrowestLayoutWidth;
    const int bandWidth = narrow ? kNarrowestLayoutWidth : width;
    layout.scrollBarShown = narrow;
    if (narrow) {
        layout.scrollMaximum = kNarrowestLayoutWidth - width;
        layout.scrollPage = width;
        layout.scrollPosition = std::clamp(scrollPosition, 0, layout.scrollMaximum);
        layout.scrollBar = QRect(0, client.height() - scrollBarExtent,
                                 std::max(0, width - scrollBarExtent), scrollBarExtent);
    }
    const int shift = layout.scrollPosition;
    layout.toolbar = QRect(0, 0, bandWidth, toolbarHeight);
    layout.header = QRect(-shift, toolbarHeight, bandWidth, kHeaderHeight);
    const int listTop = toolbarHeight + kHeaderHeight;
    const int bottomReserve = narrow ? scrollBarExtent : 0;
    // The list grows by the scroll position so that its right edge, where its own vertical
    // scroll bar lies, stays at the window's right edge while its columns move left.
    layout.list = QRect(-shift, listTop, width + shift,
                        std::max(0, client.height() - listTop - bottomReserve));
    return layout;
}
