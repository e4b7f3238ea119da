// When the device setup closes, the capability database takes the chosen player (model code,
// category, fresh lookup) and the effect toolbar shows what that player can do, or, without a
// player, every toolbar button is greyed.
#pragma once

class CDevCaps;
class EffectToolbar;
struct DeviceRecord;

// playerId: the chosen player (below 1: none). player: its entry in the device list, or none
// when the id is not listed. Returns the result of the capability lookup (false without one).
bool ApplyDeviceSetupToEffects(CDevCaps& caps, EffectToolbar& toolbar, int playerId,
                               const DeviceRecord* player);
