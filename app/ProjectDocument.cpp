#include "app/ProjectDocument.h"

#include <QFileInfo>

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "config/FileFolders.h"
#include "config/SettingsKeys.h"
#include "edit/EdlFiles.h"
#include "edit/EdlMessages.h"
#include "edit/ProjectFiles.h"

ProjectDocument::ProjectDocument(AppContext& context, UserPrompts& prompts, QWidget* window)
    : context_(context), prompts_(prompts), window_(window) {}

QString ProjectDocument::Text(const char* key) const {
    return context_.Text(QLatin1String(key));
}

bool ProjectDocument::CanSave() const {
    return !currentFile_.isEmpty() && !currentFile_.endsWith(QStringLiteral("*.cwf"));
}

void ProjectDocument::ReadDefaultFolder() {
    QString lastProject;
    if (context_.settings().ReadString(settings_keys::kProgram, &lastProject))
        defaultFolder_ = QFileInfo(lastProject).absolutePath();
    else
        defaultFolder_ = context_.programFolder().Path();
}

// --- The save question and the file name -------------------------------------------------------

bool ProjectDocument::AskSaveChanges() {
    if (!context_.scenes().modified())
        return true;
    const QString question = Text("MSG_SAVE1") + u'\n' + Text("MSG_SAVE2");
    switch (prompts_.AskYesNoOrCancel(window_, Text("TI_MAIN"), question)) {
        case YesNoAnswer::No:
            return true;
        case YesNoAnswer::Cancelled:
            // Escape or the box's close: the user wanted neither, so nothing is thrown away.
            return false;
        case YesNoAnswer::Yes:
            break;
    }
    SaveAs();
    // A cancelled or failed save keeps the list and stops whatever asked.
    return !context_.scenes().modified();
}

bool ProjectDocument::LoadWithMessages(const QString& path) {
    warningShown_ = false;
    ProjectFiles files(context_.scenes(), *this, context_.captions().languageCode());
    if (files.LoadProject(path, true)) {
        context_.history().Clear();
        return true;
    }
    if (!warningShown_)
        ShowWarning(QStringLiteral("MSG_INPUT"));
    return false;
}

void ProjectDocument::TakeLoadedFile(const QString& path) {
    TakeFileName(path);
    context_.scenes().RecomputeTotal();
    context_.scenes().SelectOnly(0);
    emit listOpened();
}

void ProjectDocument::TakeFileName(const QString& path) {
    currentFile_ = path;
    defaultFolder_ = QFileInfo(path).absolutePath();
    // Kept at once, not only at the close: the next start's dialogs open here even after a
    // crash.
    context_.settings().WriteString(settings_keys::kProgram, currentFile_);
    emit fileNameChanged();
}

void ProjectDocument::ForgetFileName() {
    currentFile_.clear();
    emit fileNameChanged();
}

// --- Project files -----------------------------------------------------------------------------

bool ProjectDocument::OpenAsDropped(const QString& path) {
    if (!AskSaveChanges() || !LoadWithMessages(path))
        return false;
    TakeLoadedFile(path);
    return true;
}

void ProjectDocument::New() {
    if (!AskSaveChanges())
        return;
    context_.scenes().ClearList();
    context_.history().Clear();
    ForgetFileName();
    context_.scenes().SelectOnly(0);
}

void ProjectDocument::Open() {
    if (!AskSaveChanges())
        return;
    const QString filter = Text("FL_PGM") + QStringLiteral(" (*.cwf *.trn)");
    const QString path = prompts_.ChooseOpenFile(window_, defaultFolder_, filter);
    if (!path.isEmpty() && LoadWithMessages(path))
        TakeLoadedFile(path);
}

void ProjectDocument::Save() {
    if (currentFile_.isEmpty())
        return;
    ProjectFiles files(context_.scenes(), *this, context_.captions().languageCode());
    QString saved;
    // A legacy .trn list is written as .cwf beside it; from then on the .cwf is the list's file.
    if (files.SaveProject(currentFile_, false, &saved))
        TakeFileName(saved);
}

bool ProjectDocument::SaveAs() {
    const QString filter = Text("FL_PGM") + QStringLiteral(" (*.cwf)");
    const QString proposed =
        currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).completeBaseName() + ".cwf";
    const QString chosen = prompts_.ChooseSaveFile(window_, defaultFolder_, proposed, filter);
    if (chosen.isEmpty())
        return false;
    ProjectFiles files(context_.scenes(), *this, context_.captions().languageCode());
    QString saved;
    if (!files.SaveProject(chosen, true, &saved))
        return false;
    TakeFileName(saved);
    return true;
}

// --- Edit decision lists -----------------------------------------------------------------------

void ProjectDocument::ImportEdl() {
    if (!AskSaveChanges())
        return;
    const QString filter = Text("FL_EDL") + QStringLiteral(" (*.edl *.EDL)");
    const QString path = prompts_.ChooseOpenFile(
        window_, LastFolder(context_.settings(), FileKind::Edl, defaultFolder_), filter);
    if (path.isEmpty())
        return;
    KeepLastFolder(context_.settings(), FileKind::Edl, path);
    SceneList& list = context_.scenes();
    const EdlImport import =
        ImportEdlFile(path, list.timecodeMode(), context_.captions().languageCode());
    if (import.refused()) {
        prompts_.ShowWarning(window_, Text("TI_MAIN"), EdlRefusalText(import, context_.captions()));
        return;
    }
    ApplyEdlImport(list, import);
    context_.history().Clear();
    // The imported list lives in no project file yet: Save has nothing to write to, and the
    // list stays modified so that nothing closes it without the save question.
    ForgetFileName();
    list.SelectOnly(0);
    prompts_.ShowInformation(window_, Text("TI_MAIN"),
                             EdlImportReportText(import.report, context_.captions()));
}

void ProjectDocument::ExportEdl() {
    const QString listName =
        currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).completeBaseName();
    const QString filter = Text("FL_EDL") + QStringLiteral(" (*.edl)");
    const QString chosen = prompts_.ChooseSaveFile(
        window_, LastFolder(context_.settings(), FileKind::Edl, defaultFolder_),
        listName.isEmpty() ? QString() : listName + ".edl", filter);
    if (chosen.isEmpty())
        return;
    KeepLastFolder(context_.settings(), FileKind::Edl, chosen);
    SceneList& list = context_.scenes();
    ProjectFiles files(list, *this, context_.captions().languageCode());
    // Without a project file the EDL's own name titles it.
    const EdlExportOptions options{
        listName.isEmpty() ? QFileInfo(chosen).completeBaseName() : listName,
        DefaultEdlRecordStart(list.timecodeMode())};
    const EdlExport edl = ExportEdlFile(files, list, chosen, options, true);
    const QString note = EdlExportText(edl, context_.captions());
    if (note.isEmpty())
        return;
    if (edl.result == EdlExport::Result::Written)
        prompts_.ShowInformation(window_, Text("TI_MAIN"), note);
    else
        prompts_.ShowWarning(window_, Text("TI_MAIN"), note);
}

// --- Questions and messages of the file layer --------------------------------------------------

void ProjectDocument::RaiseProgressWindow() {
    if (progressWindow_ && progressWindow_->isVisible())
        progressWindow_->raise();
}

void ProjectDocument::CloseProgressWindow() {
    if (progressWindow_)
        progressWindow_->CloseIfVisible();
}

bool ProjectDocument::AskYesNo(const QStringList& captionKeys) {
    QStringList lines;
    for (const QString& key : captionKeys)
        lines << context_.Text(key);
    return prompts_.AskYesNo(window_, Text("TI_MAIN"), lines.join(u'\n'));
}

void ProjectDocument::ShowWarning(const QString& captionKey) {
    warningShown_ = true;
    prompts_.ShowWarning(window_, Text("TI_MAIN"), context_.Text(captionKey));
}

void ProjectDocument::ReportWriteFailure(const QString& path, const QString& reason) {
    warningShown_ = true;
    prompts_.ShowWarning(window_, Text("TI_MAIN"),
                         Text("MSG_WRITEFAIL").arg(path) + u'\n' + reason);
}
