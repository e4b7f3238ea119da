// Saving and opening the edit list as a project file: .cwf written and read, legacy .trn (with
// its .fxd companion) read only. Questions and warnings go to the host; a failed save leaves the
// old file untouched and a refused file leaves the list as it was.
#pragma once

#include <QString>

class ProjectFileHost;

// A write beyond the process's file size limit raises a signal that ends the program by default;
// ignored, the write fails and the save reports it like a full disk, with the old file kept.
// Called once at start by every program that saves lists.
void IgnoreFileSizeSignal();
class SceneList;

class ProjectFiles {
public:
    // Longest memo a project keeps, in characters.
    static constexpr int kMaxMemoCharacters = 300;
    // How much of a file is read. Holds the largest .cwf this program writes (100 rows of 300
    // four-byte characters); anything beyond is ignored.
    static constexpr qint64 kReadLimit = 256 * 1024;

    // `language` picks the legacy code page of texts that are not UTF-8 (17: Shift-JIS).
    ProjectFiles(SceneList& list, ProjectFileHost& host, int language);

    // Writes the list to `name` (its extension becomes .cwf); Save as asks before replacing a
    // file. The file is replaced only once the whole new one is written. True when written; the
    // list is then unmodified and *savedPath (when given) names the file written.
    bool SaveProject(const QString& name, bool askOverwrite, QString* savedPath = nullptr);
    // Replaces the list by the file's rows: .cwf/.CWF, or .trn/.TRN with its .fxd/.FXD. Wrong
    // extensions and missing files are reported (MSG_INPUT) when showMessages; malformed content
    // is refused silently. True when the list was replaced.
    bool LoadProject(const QString& name, bool showMessages);
    // The path a save of bytesNeeded bytes will write: name with extension `ext`, after the
    // overwrite question (asked with askOverwrite, and always when another existing file would be
    // replaced), the free space check and creating missing folders; empty (after a warning) when
    // the save must not happen.
    QString PrepareSavePath(const QString& name, const QString& ext, qint64 bytesNeeded,
                            bool askOverwrite);
    // Puts bytes into the file at path (as PrepareSavePath gave it): the old file is replaced
    // only once the new one is wholly on disk. A failure is reported to the host with the
    // system's reason; false then.
    bool WriteWhole(const QString& path, const QByteArray& bytes);

private:
    QString Refuse(const QString& captionKey);

    SceneList& m_list;
    ProjectFileHost& m_host;
    int m_language;
};
