#include "EngineFixture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "edit/Timecode.h"

ScaledSimClock::ScaledSimClock(double scale)
    : scale_(scale), start_(std::chrono::steady_clock::now()) {}

int64_t ScaledSimClock::NowMicros() const {
    const auto real = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start_);
    return static_cast<int64_t>(static_cast<double>(real.count()) * scale_);
}

int Frames(const char* timecode) {
    Timecode tc;
    tc.mode = Fps30;
    tc.text = QString::fromLatin1(timecode);
    int32_t frames = -1;
    TimecodeFromText(tc, &frames);
    return frames;
}

Scene SceneRow(int in, int out, int effect, int transition, TCMode mode) {
    Scene row;
    row.inText = FramesToText(in, mode);
    row.outText = FramesToText(out, mode);
    row.effect = effect;
    row.transition = transition;
    return row;
}

Scene TapeChangeRow() {
    Scene row;
    row.tapeChange = true;
    return row;
}

std::vector<RecordedScene> RecordedScenes(const std::vector<tarnsim::TapeSegment>& segments) {
    std::vector<RecordedScene> scenes;
    for (const auto& s : segments) {
        const bool continues = !scenes.empty() && scenes.back().recTo == s.recFrom &&
                               std::abs(scenes.back().srcTo - s.first.sourceFrame) <= 1;
        if (!continues)
            scenes.push_back({s.recFrom, s.recTo, s.first.sourceFrame, s.srcTo, {}});
        scenes.back().recTo = s.recTo;
        scenes.back().srcTo = s.srcTo;
        scenes.back().segments.push_back(s);
    }
    return scenes;
}

std::string EngineBench(int playerPosition, int recorderPosition, int timecodeMode) {
    const std::string mode = std::to_string(timecodeMode);
    return R"({ "devices": [
      { "id": 1, "name": "DemoCam DC-5", "category": 7, "groups": [8, 24],
        "maker": "42 52 00 05 25 00", "timecode_mode": )" +
           mode + R"(, "answer_delay_ms": 3,
        "deck": { "tape_start": 0, "tape_end": "01:00:00:00", "position": )" +
           std::to_string(playerPosition) + R"(, "mode": "stop",
                  "latency_frames": { "play": 6, "pause": 22, "record": 6, "rec_pause": 6,
                                      "other": 5 } },
        "effect": { "capabilities": [0, 131076, 0, 0, 131076, 0], "progress_polls": 5 },
        "edit_terminal": 2 },
      { "id": 2, "name": "DemoVCR", "category": 1, "groups": [8],
        "maker": "42 52 00 01 07 00", "timecode_mode": )" +
           mode + R"(, "answer_delay_ms": 3,
        "deck": { "tape_start": 0, "tape_end": "02:00:00:00", "position": )" +
           std::to_string(recorderPosition) + R"(,
                  "mode": "stop", "input": 1,
                  "latency_frames": { "play": 6, "pause": 10, "record": 40, "rec_pause": 10,
                                      "other": 5 } } } ] })";
}

void EngineFixture::Serve(const std::string& benchJson, bool realLine) {
    std::string error;
    const auto bench = tarnsim::Bench::FromJson(benchJson, &error);
    ASSERT_TRUE(bench) << error;
    // The device-loss benchmark wants the bus as it is: real time and the line's pace.
    const bool realTime = realLine || qEnvironmentVariableIsSet("CLIPWRIGHT_E2E_REAL_TIME");
    simTimeScale = realTime ? 1.0 : kSimTimeScale;
    simClock = std::make_shared<ScaledSimClock>(simTimeScale);
    tarnsim::SimOptions options;
    options.pacing = realTime || kSimPacing;
    options.clock = simClock;
    sim = std::make_unique<tarnsim::Simulator>(*bench, options);
    ASSERT_TRUE(sim->Start(&error)) << error;
    ASSERT_TRUE(comm.OpenPath(QString::fromStdString(sim->SlavePath())) && comm.Configure());
    io = std::make_unique<CTarnIO>(comm, clock);
    link = std::make_unique<TarnLink>(*io);
    vtr = std::make_unique<TarnVtr>(*link);
    effects = std::make_unique<EffectUnit>(*link);
    captions.SelectLanguage(9);
    ASSERT_TRUE(captions.LoadCaptions(QCoreApplication::applicationDirPath() + "/cw20.cpt"));
    host = std::make_unique<TestHost>(*vtr, captions);
    host->devices = {kPlayerId, kRecorderId, false, false};
    engine = std::make_unique<AutoEngine>(*link, *vtr, *effects, clock, captions, *host);
}

void EngineFixture::ReleasePort() {
    if (vtr)
        vtr->StopPolling();
    engine.reset();
    host.reset();
    effects.reset();
    vtr.reset();
    link.reset();
    io.reset();
    comm.Close();
}

void EngineFixture::TearDown() {
    if (HasFailure() && host)
        std::cerr << "engine host log:\n" << host->Log().join('\n').toStdString() << '\n';
    ReleasePort();
    if (sim)
        sim->Stop();
}

void EngineFixture::SetScenes(const std::vector<Scene>& rows, int current) {
    std::vector<Scene> all{TapeChangeRow()};
    all.insert(all.end(), rows.begin(), rows.end());
    host->list.ReplaceRows(all);
    host->list.SelectOnly(current);
}

std::optional<AutoResult> EngineFixture::Run(AutoKind kind, const std::function<void()>& watch,
                                             int timeoutMs) {
    return RunStarted(
        [this, kind] {
            engine->AutoStart(kind);
            return true;
        },
        watch, timeoutMs);
}

std::optional<AutoResult> EngineFixture::RunStarted(const std::function<bool()>& start,
                                                    const std::function<void()>& watch,
                                                    int timeoutMs) {
    std::optional<AutoResult> result;
    QEventLoop loop;
    const auto connection =
        QObject::connect(engine.get(), &AutoEngine::finished, &loop, [&](AutoResult r) {
            result = r;
            loop.quit();
        });
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(timeoutMs);
    QTimer watcher;
    if (watch) {
        QObject::connect(&watcher, &QTimer::timeout, &loop, watch);
        watcher.start(10);
    }
    if (!start())
        result = AutoResult::Failed;
    if (!result)
        loop.exec();
    QObject::disconnect(connection);
    return result;
}

std::optional<AutoResult> EngineFixture::RunAutoRec(const std::function<void()>& watch) {
    engine->ReadRecorderPosition();
    return Run(AutoKind::AutoRec, watch);
}

namespace {

constexpr size_t kRequestIdByte = 2;
constexpr size_t kRequestCommandByte = 3;

}  // namespace

int SentRequests(const tarnsim::Simulator& sim, int id, std::initializer_list<uint8_t> command) {
    int n = 0;
    for (const auto& entry : sim.TranscriptEntries()) {
        if (entry.kind != tarnsim::TranscriptEntry::Kind::Request ||
            entry.bytes.size() < kRequestCommandByte + command.size() ||
            entry.bytes[kRequestIdByte] != id)
            continue;
        n += std::equal(command.begin(), command.end(), entry.bytes.begin() + kRequestCommandByte);
    }
    return n;
}

int EngineFixture::Sent(int id, std::initializer_list<uint8_t> command) const {
    return SentRequests(*sim, id, command);
}

int EngineFixture::SentTo(int id) const {
    return Sent(id, {});
}
