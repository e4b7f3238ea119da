// tarn-sim: serves a bench of simulated Tarn devices on a pseudo-terminal until SIGTERM/SIGINT.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "ClipwrightVersion.h"
#include "sim/CommandLine.h"
#include "sim/Simulator.h"

namespace {

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "tarn-sim: %s\n", message.c_str());
    return code;
}

// Replaces an old symlink at `path` (never a regular file) with one to the pseudo-terminal.
bool MakeLink(const std::string& path, const std::string& target, std::string* error) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            *error = path + " exists and is not a symlink";
            return false;
        }
        unlink(path.c_str());
    }
    if (symlink(target.c_str(), path.c_str()) != 0) {
        *error = "cannot create the link " + path;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Blocked before any thread starts, so only sigwait below ever sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::string error;
    const auto line = tarnsim::CommandLine::Parse({argv + 1, argv + argc}, &error);
    if (!line)
        return Fail(error + "\n" + tarnsim::CommandLine::Usage(), 2);
    if (line->help) {
        std::printf("%s", tarnsim::CommandLine::Help().c_str());
        return 0;
    }
    if (line->version) {
        std::printf("tarn-sim %s\n%s", kClipwrightVersion, kClipwrightLicenceNotice);
        return 0;
    }
    auto bench = tarnsim::Bench::FromFile(line->benchPath, &error);
    if (!bench)
        return Fail(error, 2);
    if (line->answerDelayMs)
        bench->OverrideAnswerDelay(*line->answerDelayMs);
    const auto faults = tarnsim::FaultPlan::Parse(line->faults, line->seed, &error);
    if (!faults)
        return Fail(error, 2);

    tarnsim::Simulator simulator(*bench, {line->pacing, line->seed, nullptr});
    simulator.SetFaultPlan(*faults);
    if (!line->transcriptPath.empty() && !simulator.WriteTranscriptTo(line->transcriptPath, &error))
        return Fail(error, 1);
    if (!simulator.Start(&error))
        return Fail(error, 1);
    if (!line->linkPath.empty() && !MakeLink(line->linkPath, simulator.SlavePath(), &error))
        return Fail(error, 1);
    std::printf("pty=%s\n", simulator.SlavePath().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.Stop();
    if (!line->linkPath.empty())
        unlink(line->linkPath.c_str());
    if (!line->reportPath.empty() && !simulator.WriteReport(line->reportPath, &error))
        return Fail(error, 1);
    return 0;
}
