// The device configuration as the effects see it at start: the capability database takes the
// model code and category of the settings file and looks them up for the stored player.
#pragma once

class CDevCaps;
class CTarnReg;
class SettingsFile;

// Start-up: [INIT] CODE (0 when missing) becomes the model code, [INIT] Category (7 when missing
// or 0) the category, playerId the player; then the lookup runs. Returns the result of Load.
// The player chosen at the last device setup: CurID of the device store, else [INIT] PlayID of
// the settings file, else 0 (none).
int StoredPlayerId(CTarnReg& store, const SettingsFile& settings);
bool LoadEffectsAtStart(CDevCaps& caps, const SettingsFile& settings, int playerId);
