#include "app/HandedOverFile.h"

#include <QApplication>

#include "app/TfrmEDS.h"

namespace {

// How often a waiting file looks again whether the main window is free: soon enough to feel
// immediate once a dialog closes, rare enough to cost nothing meanwhile.
constexpr int kRetryMs = 250;

}  // namespace

HandedOverFile::HandedOverFile(TfrmEDS& mainWindow) : mainWindow_(mainWindow) {
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &HandedOverFile::OpenWhenFree);
}

void HandedOverFile::Take(const QString& path) {
    if (mainWindow_.isMinimized())
        mainWindow_.showNormal();
    mainWindow_.raise();
    mainWindow_.activateWindow();
    if (path.isEmpty())
        return;
    // A later hand-over replaces one still waiting: the user's last double-click counts.
    waiting_ = path;
    OpenWhenFree();
}

void HandedOverFile::OpenWhenFree() {
    if (waiting_.isEmpty())
        return;
    const bool busy = !mainWindow_.firstShowDone() || !mainWindow_.isEnabled() ||
                      QApplication::activeModalWidget() != nullptr;
    if (busy) {
        retry_.start();
        return;
    }
    const QString path = waiting_;
    waiting_.clear();
    mainWindow_.OpenAsDropped(path);
}
