#include "edit/ProjectFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <csignal>

#include "edit/FilesLog.h"
#include "edit/ProjectFileHost.h"
#include "edit/ProjectParser.h"
#include "edit/ProjectPath.h"
#include "edit/ProjectWriter.h"
#include "edit/SceneList.h"

namespace {

// Size estimate of a saved row without its memo (a generous line length).
constexpr qint64 kBytesPerRow = 56;

enum class ProjectKind { Unknown, Project, Legacy };

// Only the all-lower and all-upper spellings count, as the files were always named.
ProjectKind KindOf(const QString& name) {
    const QString ext = PathExtension(name);
    if (ext == "cwf" || ext == "CWF")
        return ProjectKind::Project;
    if (ext == "trn" || ext == "TRN")
        return ProjectKind::Legacy;
    return ProjectKind::Unknown;
}

// The .fxd beside a .trn, whatever its letter case: the files were made on systems that did not
// tell cases apart. The spelling that follows the .trn's own comes first, then the other plain
// one, then any other, in name order; empty when there is none.
QString CompanionPath(const QString& trnPath) {
    const QString stem = trnPath.chopped(3);
    const bool upper = PathExtension(trnPath) == "TRN";
    for (const char* ext : {upper ? "FXD" : "fxd", upper ? "fxd" : "FXD"}) {
        if (QFileInfo(stem + ext).isFile())
            return stem + ext;
    }
    const QFileInfo trn(trnPath);
    const QString wanted = QFileInfo(stem + "fxd").fileName();
    const QStringList names = trn.dir().entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return trn.dir().filePath(name);
    }
    return {};
}

std::optional<QByteArray> ReadStart(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(ProjectFiles::kReadLimit);
}

// Free bytes on the file system that will hold `path`, asked of the nearest existing folder.
qint64 FreeBytesFor(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath()) {
        folder = QFileInfo(folder).absolutePath();
    }
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

}  // namespace

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

ProjectFiles::ProjectFiles(SceneList& list, ProjectFileHost& host, int language)
    : m_list(list), m_host(host), m_language(language) {}

bool ProjectFiles::SaveProject(const QString& name, bool askOverwrite, QString* savedPath) {
    m_list.LimitMemos(kMaxMemoCharacters);
    qint64 bytesNeeded = kBytesPerRow * m_list.count();
    for (int i = 0; i < m_list.count(); ++i)
        bytesNeeded += m_list.row(i).memo.toUtf8().size();
    const QString path = PrepareSavePath(name, "cwf", bytesNeeded, askOverwrite);
    if (path.isEmpty())
        return false;

    if (!WriteWhole(path, ProjectFileBytes(m_list)))
        return false;
    qCInfo(lcFiles).noquote() << "saved" << path << "with" << m_list.count() << "rows";
    m_list.SetModified(false);
    if (savedPath)
        *savedPath = path;
    return true;
}

QString ProjectFiles::PrepareSavePath(const QString& name, const QString& ext, qint64 bytesNeeded,
                                      bool askOverwrite) {
    QString path = name;
    if (PathExtension(name).toLower() != ext.toLower()) {
        path = PathWithoutExtension(name) + "." + ext.left(3);
    }
    qint64 freedBytes = 0;
    if (FileExists(path)) {
        // Save writes without asking only to the file it was given; a file that merely shares
        // the name (trip.cwf beside the trip.trn the list came from) is someone else's.
        if (askOverwrite || path != name) {
            m_host.RaiseProgressWindow();
            if (!m_host.AskYesNo({"MSG_SAVEOW1", "MSG_SAVEOW2"}))
                return {};
        }
        freedBytes = QFileInfo(path).size();
    }
    const qint64 freeBytes = FreeBytesFor(path);
    if (freeBytes >= 0 && freeBytes + freedBytes < bytesNeeded) {
        qCInfo(lcFiles).noquote() << "not saved" << path << "(not enough free space)";
        return Refuse("MSG_NODISK");
    }
    if (!EnsureFolders(path, true)) {
        qCInfo(lcFiles).noquote() << "not saved" << path << "(its folder cannot be made)";
        return Refuse("MSG_INPUT");
    }
    return path;
}

bool ProjectFiles::WriteWhole(const QString& path, const QByteArray& bytes) {
    // The new file is written beside the old one and takes its place only when every byte is
    // on disk, so a full disk or a failed write never costs the user the file they had.
    // Unbuffered, so that a short write (disk full, size limit) shows in write()'s result: the
    // buffered path's final flush can drop the rest of the data without an error.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    qCInfo(lcFiles).noquote() << "not saved" << path << "(" + file.errorString() + ")";
    m_host.CloseProgressWindow();
    m_host.ReportWriteFailure(path, file.errorString());
    return false;
}

QString ProjectFiles::Refuse(const QString& captionKey) {
    m_host.CloseProgressWindow();
    m_host.ShowWarning(captionKey);
    return {};
}

bool ProjectFiles::LoadProject(const QString& name, bool showMessages) {
    const ProjectKind kind = KindOf(name);
    if (kind == ProjectKind::Unknown || !EnsureFolders(name, false) || !FileExists(name)) {
        qCInfo(lcFiles).noquote() << "refused" << name
                                  << (kind == ProjectKind::Unknown ? "(not a project file name)"
                                                                   : "(no such file)");
        if (showMessages)
            m_host.ShowWarning("MSG_INPUT");
        return false;
    }
    const std::optional<QByteArray> data = ReadStart(name);
    if (!data) {
        qCInfo(lcFiles).noquote() << "refused" << name << "(cannot be read)";
        return false;
    }
    if (kind == ProjectKind::Project) {
        std::optional<std::vector<Scene>> rows = ParseProject(*data, m_language);
        if (!rows) {
            qCInfo(lcFiles).noquote() << "refused" << name << "(malformed; the list is unchanged)";
            return false;
        }
        qCInfo(lcFiles).noquote() << "opened" << name << "with" << rows->size() << "rows";
        m_list.ReplaceRows(std::move(*rows));
        return true;
    }
    LegacyProject legacy = ParseLegacy(*data, m_language);
    const QString companion = CompanionPath(name);
    if (!companion.isEmpty()) {
        if (const std::optional<QByteArray> fxd = ReadStart(companion)) {
            ApplyLegacyEffects(*fxd, legacy);
        }
    }
    qCInfo(lcFiles).noquote() << "opened" << name << "with" << legacy.rows.size() << "rows"
                              << (companion.isEmpty() ? "" : "and its effects file");
    m_list.ReplaceRows(std::move(legacy.rows));
    return true;
}
