// Edit decision lists as files: reading one into an import, putting an import into the list, and
// writing the list as one with the project files' overwrite question, space check and folders.
#pragma once

#include <QString>
#include <cstdint>

#include "edit/EdlImport.h"
#include "edit/EdlWriter.h"

class ProjectFiles;
class SceneList;

// The import of the file at path, in the program's mode; refused (Unreadable, TooLarge or the
// parser's reasons) without reading more than kMaxEdlBytes and one byte.
EdlImport ImportEdlFile(const QString& path, uint32_t mode, int language);

// The list takes the import's rows, memos cut to what a project keeps. The list is left
// modified: it exists in no project file yet.
void ApplyEdlImport(SceneList& list, const EdlImport& import);

// Writes the list to `name` (its extension becomes .edl). Save questions and warnings go through
// `files`, which must work on the same list. *savedPath names the file when Written.
EdlExport ExportEdlFile(ProjectFiles& files, const SceneList& list, const QString& name,
                        const EdlExportOptions& options, bool askOverwrite,
                        QString* savedPath = nullptr);
