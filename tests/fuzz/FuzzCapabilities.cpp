// The capability file cw20dev.ini. The input's first two bytes are the player's maker bytes 3 and
// 4 (they name the section looked up), the rest is the file. The lookup ends in one of its
// sources and every availability question has an answer.
#include "FuzzSupport.h"
#include "devices/CDevCaps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const QString path = fuzz::WriteScratchFile("cw20dev.ini", fuzz::Bytes(data + 2, size - 2));
    for (const int category : {CDevCaps::kCameraCategory, 1}) {
        CDevCaps caps(path);
        caps.SetPlayerId(1);
        caps.SetCategory(category);
        caps.SetModelFromDevice(MakerBytes{0, 0, 0, data[0], data[1], 0});
        const bool fromFile = caps.Load();
        fuzz::Require(fromFile == (caps.LastSource() == CDevCaps::Source::File),
                      "Load is true exactly when the file gave the words");
        for (int e = 0; e <= 5; ++e) {
            caps.EffectAllowed(e);
            for (int n = 100; n <= 117; ++n)
                caps.Compatible(e, n);
        }
        for (int n = 100; n <= 118; ++n)
            caps.TransitionAllowed(n);
        fuzz::Require(caps.TransitionAllowed(100), "no transition is always allowed");
    }
    return 0;
}
