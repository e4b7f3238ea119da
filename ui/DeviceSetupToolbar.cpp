#include "ui/DeviceSetupToolbar.h"

#include <optional>

#include "devices/CDevCaps.h"
#include "link/DeviceRecord.h"
#include "ui/EffectToolbar.h"

bool ApplyDeviceSetupToEffects(CDevCaps& caps, EffectToolbar& toolbar, int playerId,
                               const DeviceRecord* player) {
    const std::optional<MakerBytes> maker =
        player ? std::optional<MakerBytes>(player->maker) : std::nullopt;
    const bool loaded = caps.ApplyPlayerChoice(playerId, maker, player ? player->category : 0);
    if (playerId < 1)
        toolbar.DisableAll();
    else
        toolbar.RefreshAll();
    return loaded;
}
