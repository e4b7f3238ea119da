#include "link/TapeGuard.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <vector>

#include "link/CComm.h"
#include "link/LinkLog.h"

extern char** environ;

namespace {

// Where the guard finds what it inherits: the first descriptors after the standard three.
constexpr int kGuardPortFd = 3;
constexpr int kGuardChannelFd = 4;
// Copies are made above both, so that neither hand-over overwrites the other's source.
constexpr int kFirstFreeFd = 10;
constexpr int kReapLimitMs = 500;
constexpr int kReapStepMs = 5;
constexpr const char* kGuardProgram = "clipwright-guard";

// The signals a terminal or a session sends to its whole group: the guard lives in a group of
// its own and sees them at their default, whatever the program did with them.
constexpr std::array<int, 6> kDefaultSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGPIPE};

QString GuardExecutable() {
    return QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kGuardProgram);
}

}  // namespace

TapeGuard::TapeGuard(CComm& comm) : comm_(comm) {}

TapeGuard::~TapeGuard() {
    Disarm();
}

void TapeGuard::SetProgramFolder(const QString& folder) {
    std::lock_guard lock(mutex_);
    folder_ = folder;
}

void TapeGuard::Arm(GuardedOperation operation, int recorderId, int playerId, bool editTerminal) {
    std::lock_guard lock(mutex_);
    operation_ = operation;
    activity_ = DeckActivity::Moving;
    recorderId_ = recorderId;
    playerId_ = playerId;
    editTerminal_ = editTerminal;
    armed_ = true;
    tookOver_ = false;
    takeOverSeen_ = false;
    if (channel_ < 0) {
        SpawnLocked();
        return;
    }
    // A guard that already stands by hears of the new operation.
    SendLocked(static_cast<char>(operation_));
    SendLocked(static_cast<char>(activity_));
}

void TapeGuard::Report(DeckActivity activity) {
    std::lock_guard lock(mutex_);
    if (!armed_ || activity == activity_)
        return;
    activity_ = activity;
    SendLocked(static_cast<char>(activity));
}

void TapeGuard::Beat() {
    std::lock_guard lock(mutex_);
    if (channel_ < 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastBeat_ < std::chrono::milliseconds(guardchannel::kBeatIntervalMs))
        return;
    lastBeat_ = now;
    SendLocked(guardchannel::kBeat);
}

void TapeGuard::Disarm() {
    std::lock_guard lock(mutex_);
    if (!armed_)
        return;
    armed_ = false;
    SendLocked(guardchannel::kSafe);
    CloseLocked();
    tookOver_ = false;
    takeOverSeen_ = false;
}

bool TapeGuard::TookOver() {
    std::lock_guard lock(mutex_);
    CheckChannelLocked();
    takeOverSeen_ = tookOver_;
    return tookOver_;
}

bool TapeGuard::MayTalk() {
    std::lock_guard lock(mutex_);
    CheckChannelLocked();
    return !tookOver_ || takeOverSeen_;
}

void TapeGuard::CheckChannelLocked() {
    if (channel_ >= 0)
        ReadChannelLocked();
    if (tookOver_ && channel_ >= 0)
        WaitForGuardEndLocked();
}

bool TapeGuard::SpawnLocked() {
    const int port = comm_.Descriptor();
    int pair[2];
    if (port < 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        qCWarning(lcLink) << "no tape guard: the port is closed or no channel can be made";
        return false;
    }
    // What runs is in the channel before the guard starts: a program stopped right after the
    // start still has a guard that knows the recorder records.
    const char state[] = {static_cast<char>(operation_), static_cast<char>(activity_)};
    [[maybe_unused]] const ssize_t told = ::send(pair[0], state, sizeof state, MSG_NOSIGNAL);
    const int portCopy = ::fcntl(port, F_DUPFD_CLOEXEC, kFirstFreeFd);
    const int channelCopy = ::fcntl(pair[1], F_DUPFD_CLOEXEC, kFirstFreeFd);
    ::close(pair[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, portCopy, kGuardPortFd);
    posix_spawn_file_actions_adddup2(&actions, channelCopy, kGuardChannelFd);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &defaults);
    for (int s : kDefaultSignals)
        sigaddset(&defaults, s);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    QStringList args = {QStringLiteral("--port-fd"),    QString::number(kGuardPortFd),
                        QStringLiteral("--channel-fd"), QString::number(kGuardChannelFd),
                        QStringLiteral("--recorder"),   QString::number(recorderId_),
                        QStringLiteral("--player"),     QString::number(playerId_),
                        QStringLiteral("--port"),       comm_.DevicePath()};
    if (editTerminal_)
        args << QStringLiteral("--edit-terminal");
    if (!folder_.isEmpty())
        args << QStringLiteral("--home") << folder_;
    const QByteArray executable = GuardExecutable().toLocal8Bit();
    std::vector<QByteArray> texts{executable};
    for (const QString& arg : args)
        texts.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, executable.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(portCopy);
    ::close(channelCopy);
    if (spawned != 0) {
        ::close(pair[0]);
        qCWarning(lcLink).noquote()
            << "no tape guard: cannot start" << executable << "error" << spawned;
        return false;
    }
    pid_ = pid;
    channel_ = pair[0];
    ++spawns_;
    qCInfo(lcLink) << "tape guard" << pid << "stands by for recorder" << recorderId_ << "player"
                   << playerId_;
    return true;
}

void TapeGuard::SendLocked(char byte) {
    if (channel_ < 0)
        return;
    if (::send(channel_, &byte, 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1)
        return;
    // A full channel only means the guard is slow to read: the next beat will do.
    if (errno == EAGAIN || errno == EWOULDBLOCK)
        return;
    // The guard is gone: its last word is read, and a guard that died is replaced, once (the
    // new guard's channel may well get the old one's number).
    const int spawns = spawns_;
    ReadChannelLocked();
    if (spawns_ == spawns && channel_ >= 0 && !tookOver_)
        ReplaceGuardLocked();
}

void TapeGuard::ReadChannelLocked() {
    char bytes[16];
    for (;;) {
        const ssize_t n = ::recv(channel_, bytes, sizeof bytes, MSG_DONTWAIT);
        if (n > 0) {
            for (ssize_t i = 0; i < n; ++i)
                tookOver_ = tookOver_ || bytes[i] == guardchannel::kTakingOver;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return;
        // The guard has ended. Having taken over, it was its plan; otherwise it died, and the
        // operation must not go on unguarded.
        if (!tookOver_)
            ReplaceGuardLocked();
        return;
    }
}

void TapeGuard::ReplaceGuardLocked() {
    qCWarning(lcLink) << "the tape guard ended unexpectedly; a new guard is started";
    CloseLocked();
    if (armed_)
        SpawnLocked();
}

void TapeGuard::WaitForGuardEndLocked() {
    qCWarning(lcLink) << "the tape guard has taken the bus; the program waits for it to end";
    pollfd channel{channel_, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(guardchannel::kTakeOverLimitMs);
    char byte = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::poll(&channel, 1, guardchannel::kBeatIntervalMs) <= 0)
            continue;
        const ssize_t n = ::recv(channel_, &byte, 1, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            break;
    }
    CloseLocked();
}

void TapeGuard::CloseLocked() {
    if (channel_ >= 0)
        ::close(channel_);
    channel_ = -1;
    // A guard told the decks are safe, or one that has ended, is gone within milliseconds; one
    // that is not is left to the system rather than hold the operation's end.
    for (int waited = 0; pid_ > 0 && waited < kReapLimitMs; waited += kReapStepMs) {
        if (::waitpid(pid_, nullptr, WNOHANG) != 0)
            break;
        ::usleep(kReapStepMs * 1000);
    }
    pid_ = -1;
}
