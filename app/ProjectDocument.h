// The edit list as a document: the project file it was loaded from or last saved to, the folder
// the file dialogs start in, and the File menu's commands (New, Open, Save, Save as, Import EDL,
// Export EDL, a dropped or handed-over file) with the question whether to save a changed list
// first. It answers the project file layer's questions through the user prompts, over the window
// it works for, and keeps the progress window out of their way.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "edit/ProjectFileHost.h"
#include "ui/TfrmWait.h"

class AppContext;
class QWidget;
class UserPrompts;

class ProjectDocument : public QObject, public ProjectFileHost {
    Q_OBJECT

public:
    // window: the parent of the questions and file dialogs (none: they stand alone).
    ProjectDocument(AppContext& context, UserPrompts& prompts, QWidget* window);

    // The progress window, which questions of the file layer must not hide behind.
    void SetProgressWindow(TfrmWait* window) { progressWindow_ = window; }

    // Empty for a list that lives in no file.
    const QString& currentFileName() const { return currentFile_; }
    const QString& defaultFolder() const { return defaultFolder_; }
    // Save has a file to write to: a name that is still the dialog's pattern is none.
    bool CanSave() const;
    // The folder of the last project ([Directories] Program), else the program folder.
    void ReadDefaultFolder();

    // Asks whether to save a changed list; false when the operation must not go on.
    bool AskSaveChanges();
    void New();
    void Open();
    void Save();
    // True when the list was written.
    bool SaveAs();
    void ImportEdl();
    void ExportEdl();
    // A file given as by a drop: asks to save changes, then loads it.
    bool OpenAsDropped(const QString& path);

    // ProjectFileHost
    void RaiseProgressWindow() override;
    void CloseProgressWindow() override;
    bool AskYesNo(const QStringList& captionKeys) override;
    void ShowWarning(const QString& captionKey) override;
    void ReportWriteFailure(const QString& path, const QString& reason) override;

signals:
    // The current file name changed: the title and the File menu follow it.
    void fileNameChanged();
    // A list was read from its file (opened, dropped, handed over or named at start).
    void listOpened();

private:
    // Loads a project with its messages; a refused file that the file layer did not report is
    // reported here, so that no refusal passes silently.
    bool LoadWithMessages(const QString& path);
    // A loaded file becomes the list's file, with the total and the first row selected.
    void TakeLoadedFile(const QString& path);
    // What a successful load or save records: file name, folder, the settings' last project.
    void TakeFileName(const QString& path);
    void ForgetFileName();
    QString Text(const char* key) const;

    AppContext& context_;
    UserPrompts& prompts_;
    QPointer<QWidget> window_;
    QPointer<TfrmWait> progressWindow_;
    QString currentFile_;
    QString defaultFolder_;
    bool warningShown_ = false;
};
