#include "edit/EdlFiles.h"

#include <QFile>

#include "edit/EdlParser.h"
#include "edit/FilesLog.h"
#include "edit/ProjectFiles.h"
#include "edit/SceneList.h"

EdlImport ImportEdlFile(const QString& path, uint32_t mode, int language) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCInfo(lcFiles).noquote() << "refused" << path << "(cannot be read)";
        EdlImport refused;
        refused.refusal = EdlRefusal::Unreadable;
        return refused;
    }
    // One byte beyond the limit is enough to tell a file that is too large.
    const EdlImport import = ParseEdl(file.read(kMaxEdlBytes + 1), mode, language);
    if (import.refused()) {
        qCInfo(lcFiles).noquote() << "refused" << path << "(EDL refusal"
                                  << static_cast<int>(import.refusal) << "at line"
                                  << import.refusedLine << ")";
    } else {
        qCInfo(lcFiles).noquote() << "imported" << path << "with" << import.report.scenes
                                  << "scenes";
    }
    return import;
}

void ApplyEdlImport(SceneList& list, const EdlImport& import) {
    list.ReplaceRows(import.rows);
    list.LimitMemos(ProjectFiles::kMaxMemoCharacters);
    list.SetModified(true);
}

EdlExport ExportEdlFile(ProjectFiles& files, const SceneList& list, const QString& name,
                        const EdlExportOptions& options, bool askOverwrite, QString* savedPath) {
    EdlExport edl = WriteEdl(list, options);
    if (edl.result != EdlExport::Result::Written)
        return edl;
    const QString path =
        files.PrepareSavePath(name, QStringLiteral("edl"), edl.bytes.size(), askOverwrite);
    if (path.isEmpty()) {
        edl.result = EdlExport::Result::NotWritten;
        return edl;
    }
    if (!files.WriteWhole(path, edl.bytes)) {
        edl.result = EdlExport::Result::WriteFailed;
        return edl;
    }
    qCInfo(lcFiles).noquote() << "exported" << path;
    if (savedPath)
        *savedPath = path;
    return edl;
}
