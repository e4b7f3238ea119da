#include "devices/DeviceSetupEffects.h"

#include "config/SettingsFile.h"
#include "devices/CDevCaps.h"
#include "devices/CTarnReg.h"

int StoredPlayerId(CTarnReg& store, const SettingsFile& settings) {
    int32_t id = 0;
    if (!store.ReadInt(settings_keys::kInitSection, QStringLiteral("CurID"), &id))
        settings.ReadInteger(settings_keys::kPlayId, &id);
    return id;
}

bool LoadEffectsAtStart(CDevCaps& caps, const SettingsFile& settings, int playerId) {
    int32_t code = settings_keys::kDefaultCode;
    settings.ReadInteger(settings_keys::kCode, &code);
    int32_t category = 0;
    settings.ReadInteger(settings_keys::kCategory, &category);
    // A fresh installation has no player yet; the camera defaults are the likeliest guess.
    if (category == 0)
        category = settings_keys::kDefaultCategory;
    caps.SetModelCode(code);
    caps.SetCategory(category);
    caps.SetPlayerId(playerId);
    return caps.Load();
}
