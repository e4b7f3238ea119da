// The port as the frame layer sees it while a tape guard may stand by: every exchange tells the
// guard that the program is alive, and none goes out from the guard's takeover until the
// operation has seen it (the write is refused as a port that took nothing: the step fails, and
// the operation ends with the takeover as its reason).
#pragma once

#include "link/ByteLine.h"

class TapeGuard;

class GuardedLine final : public ByteLine {
public:
    GuardedLine(ByteLine& line, TapeGuard& guard) : line_(line), guard_(guard) {}

    bool Write(const uint8_t* data, size_t n) override;
    bool Read(uint8_t* buffer, size_t n) override;
    bool Configure() override { return line_.Configure(); }
    bool IsOpen() const override { return line_.IsOpen(); }
    bool HungUp() const override { return line_.HungUp(); }
    QString DevicePath() const override { return line_.DevicePath(); }
    uint32_t LastSystemError() const override { return line_.LastSystemError(); }
    uint32_t BytesRead() const override { return line_.BytesRead(); }

private:
    ByteLine& line_;
    TapeGuard& guard_;
};
