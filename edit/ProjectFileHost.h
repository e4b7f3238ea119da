// What the project file layer needs from the windows: one question and two warnings, and the
// progress window kept out of their way. The file layer never shows anything itself; the main
// window implements this with message boxes, clipwright-cli on the terminal.
#pragma once

#include <QString>
#include <QStringList>

class ProjectFileHost {
public:
    virtual ~ProjectFileHost() = default;

    // Raises the progress window to the top when it is showing, so that a question asked
    // during an operation is not hidden behind it.
    virtual void RaiseProgressWindow() = 0;
    // Closes the progress window when it is visible, before a warning.
    virtual void CloseProgressWindow() = 0;
    // A Yes/No question (question icon, title TI_MAIN) whose text is the caption texts of the
    // keys joined by line feeds; true for Yes. Used for MSG_SAVEOW1 + MSG_SAVEOW2.
    virtual bool AskYesNo(const QStringList& captionKeys) = 0;
    // A warning box (title TI_MAIN) with the caption text of the key: MSG_NODISK or MSG_INPUT.
    virtual void ShowWarning(const QString& captionKey) = 0;
    // A file that could not be created, written whole or put in place, and the system's reason
    // ("Permission denied"): a warning box with MSG_WRITEFAIL naming the file, then the reason.
    virtual void ReportWriteFailure(const QString& path, const QString& reason) = 0;
};
