// The effect commands: drives the player's own effect function while it plays. Sets a scene's
// picture effect, prepares, arms and runs the transitions at scene seams for the editing engine,
// and reads the device's capability words for the capability database. Every operation is one
// job on the link: from the GUI thread it waits for the link thread, on the link thread (the
// editing engine's step) it runs at once; so effect exchanges never interleave with polls.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

#include "devices/EffectCapsQuery.h"
#include "engine/EffectCommands.h"
#include "link/TarnLink.h"

class EffectUnit : public EffectCapsQuery {
public:
    enum class Side { In, Out };  // start or end of a scene

    explicit EffectUnit(TarnLink& link);

    // The effect device's id; 0 = none, and then every operation succeeds without sending
    // anything, except ReadEffectCaps, which fails.
    void SetDevice(int id) { device_ = id; }
    int Device() const { return device_; }

    // Picture effect e (0 = none, 1..5); false above 5 or when the device fails.
    bool SetEffect(int e);
    // Selects transition t (101..117) on the device; a multiple of 100 is none (true), other
    // codes outside 100..117 are refused.
    bool SelectTransition(int t);
    // Arms or disarms t's family (codes below 105 and 117: family A, so also for none).
    bool ArmTransition(int t, bool on);
    // Runs transition t at the start or the end of a scene and follows its progress. betweenPolls
    // (when given) runs before each progress poll: it may send what falls due meanwhile (the
    // recorder's pause while the out run goes on), and its no ends the following: the
    // transition runs on by itself, and the link is free for what is due next.
    bool RunTransition(int t, Side side, const std::function<bool()>& betweenPolls = {});
    // Reads the six capability words from the device (Caps()).
    bool ReadEffectCaps();
    CapabilityWords Caps() const;

    // EffectCapsQuery: the capability database's question, with deviceId as effect device.
    bool QueryEffectCaps(int deviceId, CapabilityWords& words) override;

    // The capability word of a capability query reply.
    static int32_t DecodeCapabilityWord(const TarnFrame& reply);

private:
    bool RunJob(const LinkJob& job);
    static bool Send(CTarnIO& io, int device, const TarnCommand& body);
    static bool SelectOn(CTarnIO& io, int device, int t);
    static bool RunOn(CTarnIO& io, int device, int t, Side side,
                      const std::function<bool()>& betweenPolls);
    static void FollowProgress(CTarnIO& io, int device, effectcmd::Family family, Side side,
                               const std::function<bool()>& betweenPolls);
    static bool WipeOutOn(CTarnIO& io, int device);
    bool ReadCapsOn(CTarnIO& io, int device);

    TarnLink& link_;
    std::atomic<int> device_{0};
    mutable std::mutex capsMutex_;  // caps_ is written on the link thread, read from any
    CapabilityWords caps_{-1, -1, -1, -1, -1, -1};
};
