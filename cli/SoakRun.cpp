#include "cli/SoakRun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <array>
#include <atomic>

#include "cli/CliIo.h"
#include "engine/AutoEngine.h"
#include "link/CTarnIO.h"

namespace {

// Resident memory of this process in kB, from the kernel's own account of it.
int64_t ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    }
    return 0;
}

struct ResultName {
    LinkResult result;
    const char* name;
};

constexpr ResultName kResultNames[] = {{LinkResult::Ok, "ok"},
                                       {LinkResult::NotWritten, "not_written"},
                                       {LinkResult::NoReply, "no_reply"},
                                       {LinkResult::BadMarks, "bad_marks"},
                                       {LinkResult::BadCheck, "bad_check"},
                                       {LinkResult::BadId, "bad_id"}};

constexpr int kResultSlots = 7;

}  // namespace

int RunSoak(const SoakLimits& limits, CTarnIO& io,
            const std::function<std::optional<AutoResult>(int limitMs)>& runOnce,
            const std::function<int()>& finalMessages) {
    // Counted on the link thread as each exchange ends.
    std::array<std::atomic<int64_t>, kResultSlots> exchanges{};
    const QMetaObject::Connection counting = QObject::connect(
        &io, &CTarnIO::Traced, &io,
        [&exchanges](const TarnTrace& trace) {
            const int slot = static_cast<int>(trace.result);
            if (slot >= 0 && slot < kResultSlots)
                ++exchanges[slot];
        },
        Qt::DirectConnection);

    QElapsedTimer clock;
    clock.start();
    const int64_t soakMs = int64_t{limits.minutes} * 60'000;
    int runs = 0, finished = 0, stopped = 0, hung = 0;
    int64_t rssAfterFirstRun = 0;
    while (clock.elapsed() < soakMs || runs == 0) {
        const std::optional<AutoResult> result = runOnce(limits.runLimitMs);
        ++runs;
        if (!result) {
            // The engine still holds the link: nothing more can run on it.
            ++hung;
            break;
        }
        (result == AutoResult::Finished ? finished : stopped)++;
        if (runs == 1)
            rssAfterFirstRun = ResidentKb();
    }
    QObject::disconnect(counting);

    int64_t total = 0;
    for (const auto& count : exchanges)
        total += count.load();
    PrintLine(QStringLiteral("soak_minutes=%1").arg(clock.elapsed() / 60'000.0, 0, 'f', 1));
    PrintLine(QStringLiteral("soak_exchanges=%1").arg(total));
    PrintLine(QStringLiteral("soak_runs=%1").arg(runs));
    PrintLine(QStringLiteral("soak_runs_ended_by_message=%1").arg(finalMessages()));
    PrintLine(QStringLiteral("soak_runs_finished=%1 soak_runs_stopped=%2 soak_runs_hung=%3")
                  .arg(finished)
                  .arg(stopped)
                  .arg(hung));
    PrintLine(QStringLiteral("soak_rss_growth_kb=%1").arg(ResidentKb() - rssAfterFirstRun));
    QStringList counts;
    for (const ResultName& r : kResultNames)
        counts << QStringLiteral("soak_result_%1=%2")
                      .arg(QLatin1String(r.name))
                      .arg(exchanges[static_cast<int>(r.result)].load());
    PrintLine(counts.join(' '));
    return hung == 0 && finalMessages() == runs ? 0 : 1;
}
