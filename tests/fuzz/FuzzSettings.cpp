// The settings file cw20.ini as the program reads it at start: the editing options, the device
// configuration's fallbacks and start values, the last project folder, the resume point of an
// interrupted Auto Rec. Then a value written into whatever the file holds is stored, changes that
// value alone, and reads back.
#include <map>
#include <optional>

#include "FuzzSupport.h"
#include "config/EditOptions.h"
#include "config/ProfileFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "devices/CTarnReg.h"
#include "devices/DeviceConfig.h"
#include "devices/DeviceSettingsStore.h"
#include "edit/SceneList.h"
#include "engine/ResumePoint.h"

namespace {

// Reads every pair of a few names (the file may spell them in any case), writes one, reads again.
void RequireAWriteChangesItsValueAlone(const QString& path, int language) {
    static const QStringList kNames = {"Setup", "INIT", "FrameMode", "CODE", "a"};
    const ProfileFile profile(path, language);
    std::map<std::pair<QString, QString>, std::optional<QString>> before;
    for (const QString& section : kNames) {
        for (const QString& key : kNames)
            before[{section, key}] = profile.Read(section, key);
    }
    fuzz::Require(profile.Write("init", "code", "v1"), "a value is stored whatever the file holds");
    for (const auto& [name, old] : before) {
        const bool written = name.first.compare("init", Qt::CaseInsensitive) == 0 &&
                             name.second.compare("code", Qt::CaseInsensitive) == 0;
        fuzz::Require(profile.Read(name.first, name.second) == (written ? QString("v1") : old),
                      "a write changes its own value alone");
    }
}

// A point is either damaged, and refused naming its fault, or within what a list and a counter
// hold, and then stored and read back unchanged.
void RequireAResumePointSoundOrRefused(const SettingsFile& settings) {
    const ResumePoint point = LoadResumePoint(settings);
    SceneList list(Fps30);
    const ResumeRefusal refusal = CheckResume(point, list);
    if (point.Damaged()) {
        fuzz::Require(refusal == ResumeRefusal::Damaged && !ResumePointFault(point, list).isEmpty(),
                      "a damaged resume point is refused with its fault");
        return;
    }
    fuzz::Require(point.lastRow >= 0 && point.lastRow < SceneList::kMaxRows,
                  "a sound resume point names a row a list can have");
    if (StoreResumePoint(settings, point))
        fuzz::Require(LoadResumePoint(settings) == point, "a stored resume point reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString file = fuzz::WriteScratchFile("cw20.ini", fuzz::Bytes(data, size));
    RequireAWriteChangesItsValueAlone(file, size % 2 ? kLanguageJapanese : kLanguageEnglish);
    fuzz::WriteScratchFile("cw20.ini", fuzz::Bytes(data, size));
    const SettingsFile settings(fuzz::ScratchFolder());

    int32_t frameMode = settings_keys::kDefaultFrameMode;
    settings.ReadInteger(settings_keys::kFrameMode, &frameMode);
    EditOptions options;
    options.LoadOptions(settings, frameMode);
    QString program;
    settings.ReadString(settings_keys::kProgram, &program);
    fuzz::Require(program.toUtf8().size() <= SettingsFile::kMaxValueBytes, "texts are cut");

    // A device store that is never written, so every value falls back to the settings file.
    CTarnReg store(fuzz::ScratchFolder() + "/config");
    const DeviceSettingsStore devices(store, settings);
    DeviceConfig config;
    devices.LoadSelectionAndDevices(config);
    devices.LoadStartValues(config);
    fuzz::Require(config.devices.size() <= static_cast<size_t>(DeviceConfig::kMaxDevices),
                  "the device list keeps its capacity");
    RequireAResumePointSoundOrRefused(settings);

    if (settings.WriteInteger(settings_keys::kFrameMode, 2)) {
        int32_t back = -1;
        fuzz::Require(settings.ReadInteger(settings_keys::kFrameMode, &back) && back == 2,
                      "a written integer reads back");
    }
    const QString path = QStringLiteral("/home/user/Edits/trip.cwf");
    if (settings.WriteString(settings_keys::kProgram, path)) {
        QString back;
        fuzz::Require(settings.ReadString(settings_keys::kProgram, &back) && back == path,
                      "a written text reads back");
    }
    return 0;
}
