// Measures the program at work, for scripts/bench gui:
//   clipwright-guibench LAUNCH_NS HOME PROJECT
// LAUNCH_NS is the wall-clock time (ns since the epoch) at which the caller launched this
// process; HOME a program folder whose settings reach the demo bench and reopen the controller,
// with XDG_CONFIG_HOME naming a device store that knows the bench. Prints
//   gui_startup_ms   launch to the main window's first paint (the splash comes after it)
//   gui_peak_rss_mb  the process's peak resident memory, read when the Auto Rec has ended
//   gui_transport_stall_ms the longest lateness of a 5 ms timer on the GUI thread while the
//                    controller's transport keys are pressed, one every 150 ms, as the player
//                    is polled
//   gui_autorec_stall_ms the same during an Auto Rec of PROJECT started from the controller's
//                    Auto Rec key after that
// and exits 0 when the Auto Rec ended with its success message.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>
#include <ctime>
#include <functional>

#include "QuietPrompts.h"
#include "app/AppContext.h"
#include "app/ProgramWindows.h"
#include "controller/SkinKey.h"

namespace {

constexpr int kStallTickMs = 5;
// The transport keys pressed in turn, and how often: a brisk user's pace.
const char* const kTransportPresses[] = {"btnPlay",  "btnPause", "btnStep", "btnStep",
                                         "btnStepR", "btnPlay",  "btnFF",   "btnPause",
                                         "btnRev",   "btnPlay",  "btnSlow", "btnStop"};
constexpr int kPressEveryMs = 150;
constexpr int kPressRounds = 3;
// The demo list takes about two minutes; a run that has not ended long after is stuck.
constexpr int kGiveUpMs = 10 * 60 * 1000;

int64_t WallClockNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// VmHWM of /proc/self/status: the highest resident set size so far, in kB.
int PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression line(QStringLiteral("^VmHWM:\\s*(\\d+)\\s*kB"),
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Reports the first paint of a window, once.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(int64_t launchNs) : launchNs_(launchNs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const double ms = static_cast<double>(WallClockNs() - launchNs_) / 1e6;
            QTextStream(stdout) << "gui_startup_ms=" << qRound(ms) << Qt::endl;
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    int64_t launchNs_;
};

// The event loop's stalls: how much later than asked a short repeating timer fires.
class StallProbe : public QObject {
public:
    StallProbe() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kStallTickMs);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            maxLateMs_ = std::max(maxLateMs_, clock_.restart() - kStallTickMs);
        });
    }
    void Start() {
        clock_.start();
        timer_.start();
    }
    void Stop() { timer_.stop(); }
    qint64 maxLateMs() const { return maxLateMs_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 maxLateMs_ = 0;
};

// Presses the transport keys in turn while the deck is polled, then calls done.
class TransportPresser : public QObject {
public:
    TransportPresser(TfrmAvCtl& controller, std::function<void()> done)
        : controller_(controller), done_(std::move(done)) {
        timer_.setInterval(kPressEveryMs);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { PressNext(); });
    }
    void Start() { timer_.start(); }

private:
    void PressNext() {
        constexpr int kKeys = sizeof(kTransportPresses) / sizeof(kTransportPresses[0]);
        if (next_ == kKeys * kPressRounds) {
            // The last answer has come (or the next press would have been refused) by now.
            timer_.stop();
            done_();
            return;
        }
        controller_.key(QLatin1String(kTransportPresses[next_++ % kKeys]))->click();
    }

    TfrmAvCtl& controller_;
    std::function<void()> done_;
    QTimer timer_;
    int next_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: clipwright-guibench LAUNCH_NS HOME PROJECT\n";
        return 2;
    }
    FirstPaintProbe firstPaint(args[1].toLongLong());
    AppContext context(ProgramFolder::ForRunningProgram(args[2]), 9);
    QuietPrompts prompts;
    ProgramWindows windows(context, prompts, args[3]);
    windows.mainWindow().installEventFilter(&firstPaint);
    windows.mainWindow().show();

    // The controller reopens a moment after the main window's first show. Once its keys can be
    // pressed, the transport keys are pressed in turn as the player is polled; then Auto Rec
    // starts, as a user would press it.
    TfrmAvCtl& controller = windows.deck().controller();
    SkinKey* autoRec = controller.key(QStringLiteral("btnAutoRec"));
    StallProbe transportStalls;
    StallProbe stalls;
    TransportPresser presser(controller, [&] {
        transportStalls.Stop();
        QTextStream(stdout) << "gui_transport_stall_ms=" << transportStalls.maxLateMs() << Qt::endl;
        stalls.Start();
        autoRec->click();
    });
    QTimer ready;
    ready.setInterval(50);
    QObject::connect(&ready, &QTimer::timeout, [&] {
        if (!controller.isVisible() || !controller.remote().transportOn() || !autoRec->isEnabled())
            return;
        ready.stop();
        transportStalls.Start();
        presser.Start();
    });
    ready.start();

    int exitCode = 1;
    QObject::connect(&windows.deck().engine(), &AutoEngine::finished, [&](AutoResult result) {
        stalls.Stop();
        QTextStream(stdout) << "gui_peak_rss_mb=" << qRound(PeakResidentKb() / 1024.0) << Qt::endl
                            << "gui_autorec_stall_ms=" << stalls.maxLateMs() << Qt::endl;
        const QString success = context.Text(QStringLiteral("MSG_AUTOEND"));
        if (result == AutoResult::Finished && prompts.lastMessage == success)
            exitCode = 0;
        else
            QTextStream(stderr) << "the Auto Rec did not finish: " << prompts.lastMessage << "\n";
        QApplication::quit();
    });
    QTimer::singleShot(kGiveUpMs, [] {
        QTextStream(stderr) << "the Auto Rec did not end in time\n";
        QApplication::exit(1);
    });
    const int loopResult = QApplication::exec();
    return loopResult != 0 ? loopResult : exitCode;
}
