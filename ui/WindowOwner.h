// Windows that belong to another window without being its children. The program disables the
// main window and the controller while it waits (a dialog, a bus scan, an Auto Rec), and Qt
// disables a widget's child windows with it; a dialog or a tool window made a child of the main
// window would then come up greyed and dead. KeepAboveOwner leaves the window without a parent
// and only tells the window manager whom it belongs to (the owner's window as its transient
// parent), so it still stays above its owner and goes with it, but the owner's disabling never
// reaches it. The window is made without a parent; the caller keeps it alive.
#pragma once

class QWidget;

void KeepAboveOwner(QWidget* window, QWidget* owner);
