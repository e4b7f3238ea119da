// Whether the player can join a picture effect with a transition at one seam: the question the
// effect and transition rules ask of the player's capabilities, whoever answers it.
#pragma once

class EffectCompatibility {
public:
    virtual ~EffectCompatibility() = default;
    // effect: 0..5, transition: 0 or 100..117.
    virtual bool Compatible(int effect, int transition) const = 0;
};
