#include "engine/CommandScheduler.h"

#include "engine/EngineLog.h"
#include "link/Clock.h"
#include "link/LinkTiming.h"
#include "link/TarnVtr.h"

void CommandScheduler::Observe(const StatusSample& sample, bool playing) {
    // The step check follows the poll's reply at once: the exchange took from its writing until
    // now.
    const int64_t exchange = clock_.NowUs() - (sample.heardUs - linktiming::kRequestLineUs);
    if (exchange > 0)
        exchangeUs_ = exchangeUs_ == 0 ? exchange : (3 * exchangeUs_ + exchange) / 4;
    if (!sample.hasCounter || sample.busy || !playing) {
        phase_.Reset();
        return;
    }
    phase_.Observe(sample.counter, sample.heardUs);
}

int64_t CommandScheduler::NowUs() const {
    return clock_.NowUs();
}

int64_t CommandScheduler::ExchangesUs(double exchanges) const {
    return static_cast<int64_t>(exchanges * static_cast<double>(exchangeUs_));
}

double CommandScheduler::FramesOf(double us, int nominalFps) const {
    const double fps = phase_.Known() ? phase_.FramesPerSecond() : nominalFps;
    return us * fps / 1e6;
}

int64_t CommandScheduler::WriteMomentUs(double position, double leadFrames) const {
    return phase_.TimeOf(position) - phase_.DurationUs(leadFrames).value_or(0) -
           linktiming::kRequestLineUs;
}

bool CommandScheduler::MomentHasCome(double position, double leadFrames, double holdExchanges,
                                     int32_t counter) {
    if (!phase_.Known())
        return counter + 1 > position - leadFrames;
    const int64_t writeUs = WriteMomentUs(position, leadFrames);
    if (writeUs > clock_.NowUs() + static_cast<int64_t>(holdExchanges * exchangeUs_))
        return false;  // a later chance holds it
    WaitUntilUs(writeUs);
    qCInfo(lcEngine) << "timed command for frame" << position << "lead" << leadFrames << "aimed at"
                     << writeUs << "us, goes out at" << clock_.NowUs() << "us";
    return true;
}

void CommandScheduler::WaitUntilUs(int64_t us) {
    clock_.WaitUntilUs(us);
}
