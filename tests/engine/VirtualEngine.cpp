#include "VirtualEngine.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "EngineFixture.h"

namespace {

// Real time an operation may take before it counts as hung: virtual runs take seconds.
constexpr int kHungAfterMs = 120000;

}  // namespace

AutoOptions OptionsFor(const BenchLatencies& l) {
    AutoOptions options;
    options.inCorrection = l.recorderRecord;
    options.outCorrection = l.recorderRecPause;
    options.playerPauseLead = l.playerPause;
    options.recorderPauseLead = l.recorderPause;
    return options;
}

bool VirtualEngine::Serve(const std::string& benchJson, TCMode mode, std::string* error,
                          uint32_t seed) {
    if (!bench.Serve(benchJson, error, seed))
        return false;
    captions.SelectLanguage(9);
    if (!captions.LoadCaptions(QCoreApplication::applicationDirPath() + "/cw20.cpt")) {
        *error = "no caption file beside the test";
        return false;
    }
    vtr = std::make_unique<TarnVtr>(*bench.link);
    effects = std::make_unique<EffectUnit>(*bench.link);
    host = std::make_unique<TestHost>(*vtr, captions);
    host->devices = {kPlayerId, kRecorderId, false, false};
    host->list.SetTimecodeMode(mode);
    engine =
        std::make_unique<AutoEngine>(*bench.link, *vtr, *effects, *bench.clock, captions, *host);
    return true;
}

VirtualEngine::~VirtualEngine() {
    if (vtr)
        vtr->StopPolling();
}

int VirtualEngine::Sent(int id, std::initializer_list<uint8_t> command) const {
    return SentRequests(*bench.sim, id, command);
}

void VirtualEngine::SetScenes(const std::vector<Scene>& rows, int current) {
    std::vector<Scene> all{TapeChangeRow()};
    all.insert(all.end(), rows.begin(), rows.end());
    host->list.ReplaceRows(all);
    host->list.SelectOnly(current);
}

std::optional<AutoResult> VirtualEngine::Run(AutoKind kind) {
    return RunStarted([this, kind] {
        if (kind == AutoKind::AutoRec)
            engine->ReadRecorderPosition();
        engine->AutoStart(kind);
        return true;
    });
}

std::optional<AutoResult> VirtualEngine::RunResume(const ResumePoint& point) {
    return RunStarted([this, &point] { return engine->AutoResume(point); });
}

std::optional<AutoResult> VirtualEngine::RunStarted(const std::function<bool()>& start) {
    QEventLoop loop;
    std::optional<AutoResult> result;
    QObject::connect(engine.get(), &AutoEngine::finished, &loop, [&](AutoResult r) {
        result = r;
        loop.quit();
    });
    QTimer::singleShot(kHungAfterMs, &loop, &QEventLoop::quit);
    if (!start())
        return AutoResult::Failed;
    if (!result)
        loop.exec();
    vtr->StopPolling();
    return result;
}
