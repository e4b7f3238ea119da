// The objects the whole program shares, created once in main() and handed to the windows by
// reference: the program folder, the single-instance lock, the settings file, the caption and
// style tables, the edit list with its clip and drag buffers and its undo history, and the
// device store. Windows that later need the link, the capability database, the options or the
// device configuration find them here too. Tests build one on a temporary folder.
#pragma once

#include <QString>
#include <optional>

#include "app/InstanceLock.h"
#include "app/ToolkitLanguage.h"
#include "config/CaptionTable.h"
#include "config/EditOptions.h"
#include "config/ProgramFolder.h"
#include "config/SettingsFile.h"
#include "devices/CDevCaps.h"
#include "devices/CTarnReg.h"
#include "devices/DeviceConfig.h"
#include "devices/DeviceSettingsStore.h"
#include "devices/DeviceSetup.h"
#include "devices/TarnBus.h"
#include "edit/SceneList.h"
#include "engine/EffectUnit.h"
#include "ui/EditHistory.h"

class AppContext {
public:
    // Takes the lock on the folder's cw20.key, looks for the debug marker and loads the caption
    // and style tables for `language` (none: the user's own), with Qt's own texts and the numbers
    // in the same language. deviceStoreHome: the folder above
    // Brenvik/Tarn.ini.
    AppContext(ProgramFolder folder, std::optional<int> language,
               const QString& deviceStoreHome = CTarnReg::DefaultConfigHome());
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const ProgramFolder& programFolder() const { return folder_; }
    // False when another running program holds the folder's lock: this one must end at once.
    // A folder where the lock file cannot even be created (read-only) does not stop the start.
    bool IsOnlyInstance() const { return !lock_.IsHeldElsewhere(); }
    InstanceLock& instanceLock() { return lock_; }
    // A file named DEBUG (also written DEBUG.) in the program folder turns on the debug tools.
    bool debugMode() const { return debugMode_; }

    SettingsFile& settings() { return settings_; }
    const CaptionTable& captions() const { return captions_; }
    // The caption text of a program-level key.
    QString Text(const QString& key) const { return captions_.CaptionText(key); }
    SceneList& scenes() { return scenes_; }
    // The undo history of the list, shared by the main window and the controller.
    EditHistory& history() { return history_; }
    CTarnReg& deviceStore() { return deviceStore_; }
    CDevCaps& capabilities() { return capabilities_; }
    // The Tarn link stack (port, frame layer, link thread, system commands, deck).
    TarnBus& bus() { return bus_; }
    EffectUnit& effects() { return effects_; }
    // The device configuration and the device setup session that edits it.
    DeviceConfig& devices() { return deviceConfig_; }
    DeviceSetup& deviceSetup() { return deviceSetup_; }
    // The editing options (loaded at the main window's first show).
    EditOptions& options() { return options_; }

private:
    ProgramFolder folder_;
    InstanceLock lock_;
    bool debugMode_;
    SettingsFile settings_;
    CaptionTable captions_;
    ToolkitLanguage toolkitLanguage_;
    SceneList scenes_;
    EditHistory history_{scenes_, captions_};
    CTarnReg deviceStore_;
    CDevCaps capabilities_;
    TarnBus bus_{settings_};
    EffectUnit effects_{bus_.link()};
    DeviceConfig deviceConfig_;
    DeviceSettingsStore deviceSettings_{deviceStore_, settings_};
    DeviceSetup deviceSetup_{deviceConfig_, deviceSettings_, bus_.sys(), bus_.comm(), bus_.clock()};
    EditOptions options_;
};
