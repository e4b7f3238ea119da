// The device configuration as the effects see it: at start the capability database takes the
// model code and category of the settings file and looks them up; when the device setup closes
// it takes the chosen player (model code, category, fresh lookup) and the effect toolbar shows
// what that player can do, or, without a player, every toolbar button is greyed.
#pragma once

class CDevCaps;
class CTarnReg;
class EffectToolbar;
class SettingsFile;
struct DeviceRecord;

// Start-up: [INIT] CODE (0 when missing) becomes the model code, [INIT] Category (7 when missing
// or 0) the category, playerId the player; then the lookup runs. Returns the result of Load.
// The player chosen at the last device setup: CurID of the device store, else [INIT] PlayID of
// the settings file, else 0 (none).
int StoredPlayerId(CTarnReg& store, const SettingsFile& settings);
bool LoadEffectsAtStart(CDevCaps& caps, const SettingsFile& settings, int playerId);

// playerId: the chosen player (below 1: none). player: its entry in the device list, or none
// when the id is not listed. Returns the result of the capability lookup (false without one).
bool ApplyDeviceSetupToEffects(CDevCaps& caps, EffectToolbar& toolbar, int playerId,
                               const DeviceRecord* player);
