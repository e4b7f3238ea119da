#include "ControllerFixture.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTest>

#include "controller/SkinKey.h"
#include "link/TarnCommands.h"
#include "sim/Bench.h"

namespace {

tarnsim::Bench DemoBench() {
    QFile file(QStringLiteral(DEMO_BENCH_PATH));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::string error;
    auto bench = tarnsim::Bench::FromJson(file.readAll().toStdString(), &error);
    EXPECT_TRUE(bench.has_value()) << error;
    return bench.value_or(tarnsim::Bench{});
}

const int kAllModes[] = {0, 1, 2, 3, 5, 6, 7, 13, 14, 22, 23, 38, 39};

}  // namespace

void ControllerFixture::SetUp() {
    tarnsim::SimOptions options;
    options.pacing = false;
    options.clock = simClock;
    sim = std::make_unique<tarnsim::Simulator>(DemoBench(), options);
    std::string error;
    ASSERT_TRUE(sim->Start(&error)) << error;
    io = std::make_unique<CTarnIO>(comm, linkClock);
    link = std::make_unique<TarnLink>(*io);
    sys = std::make_unique<TarnSys>(*link);
    vtr = std::make_unique<TarnVtr>(*link);
    folder = std::make_unique<ProgramFolder>(home.path(),
                                             QStringList{QCoreApplication::applicationDirPath()});
    settings = std::make_unique<SettingsFile>(home.path());
    captions.LoadCaptions(folder->SuppliedFile(QStringLiteral("cw20.cpt")));
    sounds = std::make_unique<SoundPlayer>(*folder);
    devices = std::make_unique<BenchDevices>(comm, sim->SlavePath());
    ctl = std::make_unique<TfrmAvCtl>(ControllerParts{comm, *link, *vtr, *sys, clock, scenes,
                                                      history, *devices, captions, *folder,
                                                      *settings, *sounds});
    scenes.ClearList();
}

void ControllerFixture::TearDown() {
    ctl.reset();
    vtr->StopPolling();
    vtr.reset();
    sys.reset();
    link.reset();
    comm.Close();
    sim.reset();
}

bool ControllerFixture::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

std::vector<int> ControllerFixture::SentModes(int id) const {
    std::vector<int> modes;
    for (const auto& entry : sim->TranscriptEntries()) {
        if (entry.kind != tarnsim::TranscriptEntry::Kind::Request || entry.bytes.size() < 10 ||
            entry.bytes[2] != id)
            continue;
        for (int mode : kAllModes) {
            const auto command = tarncmd::ModeCommand(mode);
            if (command && std::equal(command->begin(), command->end(), entry.bytes.begin() + 3))
                modes.push_back(mode);
        }
    }
    return modes;
}

int ControllerFixture::CountSent(int id, int mode) const {
    const std::vector<int> modes = SentModes(id);
    return static_cast<int>(std::count(modes.begin(), modes.end(), mode));
}

void ControllerFixture::ClearSent() {
    sim->ClearTranscript();
}

void ControllerFixture::PutDeck(int id, int mode, int position) {
    ASSERT_TRUE(sim->SetDeckPosition(id, position));
    ASSERT_TRUE(sim->SetDeckMode(id, mode));
    ASSERT_TRUE(WaitFor([&] { return ctl->remote().shownMode() == mode && vtr->Mode() == mode; }))
        << "deck mode " << mode << " not shown; shown " << ctl->remote().shownMode();
}

QString ControllerFixture::LitLamps() const {
    QStringList lit;
    for (const char* name :
         {"btnRev", "btnPlay", "btnFF", "btnRec", "btnSlowR", "btnPause", "btnSlow", "btnStop"}) {
        const SkinKey* key = ctl->key(QLatin1String(name));
        if (key->IsLit())
            lit << QString::fromLatin1(name + 3) +
                       (key->IsReversed() ? QStringLiteral("<") : QString());
    }
    return lit.join(QLatin1Char(' '));
}

void ControllerFixture::Press(const char* keyName) {
    // The pointer rests on the key, as a user's would: the window's own mouse moves while the
    // key is held then stay inside it.
    QWidget* key = ctl->key(QLatin1String(keyName));
    QCursor::setPos(key->mapToGlobal(key->rect().center()));
    QTest::mousePress(key, Qt::LeftButton);
    AwaitAnswer();
}

void ControllerFixture::AwaitAnswer() {
    // A key's command is answered as a queued call; until then a press is refused.
    EXPECT_TRUE(WaitFor([this] { return !ctl->remote().commandPending(); }));
}

void ControllerFixture::Release(const char* keyName) {
    QTest::mouseRelease(ctl->key(QLatin1String(keyName)), Qt::LeftButton);
    AwaitAnswer();
}

void ControllerFixture::ClickKey(const char* keyName) {
    QTest::mouseClick(ctl->key(QLatin1String(keyName)), Qt::LeftButton);
    AwaitAnswer();
}

void ControllerFixture::KeypadPress(int key, bool autoRepeat) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::KeypadModifier, QString(), autoRepeat);
    QApplication::sendEvent(ctl.get(), &event);
    AwaitAnswer();
}

void ControllerFixture::KeypadRelease(int key) {
    QKeyEvent event(QEvent::KeyRelease, key, Qt::KeypadModifier);
    QApplication::sendEvent(ctl.get(), &event);
    AwaitAnswer();
}

void ControllerFixture::AddScene(const char* in, const char* out) {
    ASSERT_TRUE(scenes.AddRow(SceneList::RowKind::Scene));
    scenes.SetInText(scenes.current(), QLatin1String(in));
    scenes.SetOutText(scenes.current(), QLatin1String(out));
}
