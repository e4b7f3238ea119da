// Path rules of the project files: extension, folder, name without extension, and the folder
// check made before reading or writing a project.
#pragma once

#include <QString>

// The text after a '.' among the last five characters of the file name (so at most four
// characters), else empty.
QString PathExtension(const QString& path);
// The text before the last '/', empty for a bare file name.
QString PathDirectory(const QString& path);
// The text before the last '.' of the file name; the whole path when the name has none.
QString PathWithoutExtension(const QString& path);
// True when every folder leading to the file exists, creating the missing ones when `create`;
// false at the first that is missing or cannot be created.
bool EnsureFolders(const QString& path, bool create);
// True when the path names something that is not a folder.
bool FileExists(const QString& path);
