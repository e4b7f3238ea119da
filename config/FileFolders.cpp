#include "config/FileFolders.h"

#include <QFileInfo>

#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"

namespace {

const SettingKey& KeyOf(FileKind kind) {
    return kind == FileKind::Edl ? settings_keys::kEdlFolder : settings_keys::kReportFolder;
}

}  // namespace

QString LastFolder(const SettingsFile& settings, FileKind kind, const QString& fallback) {
    QString folder;
    // A folder since removed or unmounted would leave the dialog somewhere arbitrary.
    if (settings.ReadString(KeyOf(kind), &folder) && QFileInfo(folder).isDir())
        return folder;
    return fallback;
}

void KeepLastFolder(const SettingsFile& settings, FileKind kind, const QString& chosenFile) {
    settings.WriteString(KeyOf(kind), QFileInfo(chosenFile).absolutePath());
}
