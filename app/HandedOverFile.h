// What the running program does with a second start's hand-over: the main window comes forward
// and the project file opens as File > Open would open it, the save question included. While a
// dialog, a question or a timed operation holds the main window, the file waits: a list replaced
// under an Auto Rec or an open question would pull the ground from under it.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class TfrmEDS;

class HandedOverFile : public QObject {
    Q_OBJECT
public:
    explicit HandedOverFile(TfrmEDS& mainWindow);

    // path: the project file to open, empty when the second start named none.
    void Take(const QString& path);

    // The file still waiting for the main window to be free (empty: none).
    const QString& waiting() const { return waiting_; }

private:
    void OpenWhenFree();

    TfrmEDS& mainWindow_;
    QString waiting_;
    QTimer retry_;
};
