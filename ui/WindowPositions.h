// Windows that reopen where the user left them: RestorePosition when a window is shown,
// SavePosition when it closes. Each window keeps Top, Left, Width and Height in the settings
// section named after its objectName (frmEDS, frmAvCtl, frmCrct, frmOption, frmTarnDev); only a
// resizable window takes its size back. Without a usable stored position the window is centred.
#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;
class SettingsFile;

void RestorePosition(QWidget* window, const SettingsFile& settings);
void SavePosition(const QWidget* window, const SettingsFile& settings);

// Where a stored top-left corner puts a window on the work area (the screen without panels):
// above or left of it is pulled onto its edge; below or right of it gives no place (the window
// is then centred). The rest of the window may still reach past the right or bottom edge.
std::optional<QPoint> PlaceOnWorkArea(int top, int left, const QRect& workArea);

// A window of this size centred on the screen.
QPoint CentredOn(const QRect& screen, const QSize& windowSize);
