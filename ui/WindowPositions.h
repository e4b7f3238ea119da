// Windows that reopen where the user left them: RestorePosition when a window is shown,
// SavePosition when it closes. Each window keeps Top, Left, Width and Height in the settings
// section named after its objectName (frmEDS, frmAvCtl, frmCrct, frmOption, frmTarnDev); only a
// resizable window takes its size back. Without a usable stored position the window is centred.
// Top and Left are the frame's corner; Width and Height the inside, which is what a window
// takes back before its frame is known. Whatever was stored, the whole window ends up on the
// work area of a screen: one stored on a larger screen, or a screen since removed, is moved on.
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
// is then centred). The rest of the window may reach past the right or bottom edge here;
// RestorePosition then keeps it within.
std::optional<QPoint> PlaceOnWorkArea(int top, int left, const QRect& workArea);

// A window of this size centred on the screen.
QPoint CentredOn(const QRect& screen, const QSize& windowSize);

// Where a window's frame goes so that all of it lies within the area (a screen without its
// panels): moved in as little as it takes, its top-left corner first when it is the larger.
QPoint KeptWithin(const QRect& frame, const QRect& area);

// Where a window's frame goes so that it leaves the obstacle (another window's keys) free: where
// it is when it does not cover it, else beside it (below, above, right, left, the first that fits
// the area), else the place beside it that covers the least of it.
QPoint ClearOf(const QRect& frame, const QRect& obstacle, const QRect& area);

// RestorePosition for a window that works beside another (the controller beside the main
// window): without a stored position it opens clear of that window rather than centred over it;
// where there is no room beside it, the two stand one above the other in the middle of the work
// area, the other on top, as far as their heights allow.
void RestorePositionBeside(QWidget* window, QWidget* other, const SettingsFile& settings);

// The window's frame (title bar and border) centred on the work area of its screen. Before the
// window's first show its frame is not known: a framed window of the program lends its own.
void CentreOnScreen(QWidget* window);
// The size of the window with its frame.
QSize FrameSize(const QWidget* window);
// The work area of the screen a point lies on; a point on no screen (a screen since removed)
// gives the window's own screen's.
QRect WorkAreaAt(const QPoint& point, const QWidget* window);
