// What the Tarn frame layer needs of the line under it: fixed-length blocks of bytes out and in
// within the reply budgets, and whether the line is still there. CComm is the program's line, a
// serial port; a line held in memory takes its place where no terminal is wanted (a fuzzer feeding
// replies by the million, decks simulated in virtual time).
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

class ByteLine {
public:
    virtual ~ByteLine() = default;

    // Discards whatever is waiting in both directions, then sends n bytes.
    virtual bool Write(const uint8_t* data, size_t n) = 0;
    // Reads exactly n bytes within the reply budgets; a short or late reply returns false.
    virtual bool Read(uint8_t* buffer, size_t n) = 0;
    // Puts the line into the bus's settings (a serial port's speed and framing).
    virtual bool Configure() = 0;

    virtual bool IsOpen() const = 0;
    // True while the device behind the line has gone away.
    virtual bool HungUp() const = 0;
    // Where the line leads, as the user names it (a device path).
    virtual QString DevicePath() const = 0;
    // The OS error of the last failed step, 0 when there was none.
    virtual uint32_t LastSystemError() const = 0;
    // How many bytes the last Read took in: a short reply's part counts, silence is 0.
    virtual uint32_t BytesRead() const = 0;
    // True when the last Read's block came alone after a Read that got nothing: it may be the
    // reply given up on, come late, while the reply to the request just sent is lost. The frame
    // layer, which knows the devices, decides. Lines that never give up on a reply keep false.
    virtual bool LoneAfterLoss() const { return false; }
};
