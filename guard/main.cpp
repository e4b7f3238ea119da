// clipwright-guard: the tape guard. Started by Clipwright beside an operation that can leave a
// deck moving, with the port and a channel inherited; never started by hand. It stays off the
// bus while the program lives; when the program dies with the decks not safe, or hangs while
// the recorder records, it pauses the decks, logs what it did to the program's log and leaves a
// note that the next start shows.
#include <signal.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include "config/GuardNote.h"
#include "config/LogFile.h"
#include "config/ProgramFolder.h"
#include "guard/ChannelWatch.h"
#include "guard/DeckSafing.h"

namespace {

struct GuardOptions {
    int portFd = -1;
    int channelFd = -1;
    int recorderId = 0;
    int playerId = 0;
    QString portPath;
    QString home;
    bool editTerminal = false;
};

bool ReadOptions(const QCoreApplication& app, GuardOptions* o) {
    QCommandLineParser parser;
    const QStringList names = {"port-fd", "channel-fd", "recorder", "player", "port", "home"};
    for (const QString& name : names)
        parser.addOption(QCommandLineOption(name, name, QStringLiteral("value")));
    parser.addOption(QCommandLineOption(QStringLiteral("edit-terminal")));
    if (!parser.parse(app.arguments()))
        return false;
    o->editTerminal = parser.isSet(QStringLiteral("edit-terminal"));
    bool ok[4] = {};
    o->portFd = parser.value("port-fd").toInt(&ok[0]);
    o->channelFd = parser.value("channel-fd").toInt(&ok[1]);
    o->recorderId = parser.value("recorder").toInt(&ok[2]);
    o->playerId = parser.value("player").toInt(&ok[3]);
    o->portPath = parser.value("port");
    o->home = parser.value("home");
    return ok[0] && ok[1] && ok[2] && ok[3];
}

// A terminal's or a session's signals are the program's to act on; the guard outlives them
// and ends when the program's channel tells it to.
void IgnoreProgramSignals() {
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGPIPE})
        ::signal(s, SIG_IGN);
}

QString DeckLine(const char* role, const DeckSafing::DeckEnd& deck) {
    if (deck.id == 0)
        return {};
    const QString state = deck.confirmed ? QStringLiteral("stands since ") +
                                               deck.confirmedAt.toString(Qt::ISODateWithMs)
                                         : QStringLiteral("NOT CONFIRMED");
    return QStringLiteral(" %1 %2: %3 at %4 (mode %5).")
        .arg(QLatin1String(role))
        .arg(deck.id)
        .arg(state, deck.counter.isEmpty() ? QStringLiteral("?") : deck.counter)
        .arg(deck.mode);
}

// One line in the program's log, in the form of its own lines: what the guard did and found.
QString LogLine(const ChannelWatch& watch, ChannelWatch::End end, const DeckSafing::Result& result,
                bool editTerminal) {
    const QString why = end == ChannelWatch::End::ProgramHung
                            ? QStringLiteral("the program stopped answering while recording")
                            : QStringLiteral("the program ended unexpectedly");
    QString line =
        QStringLiteral("%1 clipwright.guard: %2 during %3; the line was quiet after %4 ms.%5%6")
            .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), why,
                 watch.OperationCode())
            .arg(result.quietWaitMs)
            .arg(DeckLine("recorder", result.recorder), DeckLine("player", result.player));
    if (editTerminal)
        line +=
            QStringLiteral(" Edit terminal: rec-pause %1.")
                .arg(result.terminalPaused ? QStringLiteral("taken") : QStringLiteral("NOT TAKEN"));
    return line;
}

GuardNote NoteOf(const ChannelWatch& watch, const DeckSafing::Result& result, bool editTerminal) {
    GuardNote note;
    note.operation = watch.OperationCode();
    note.recorderAt = result.recorder.counter;
    // Without a recorder to read, the edit terminal's word is all there is; without either,
    // nothing recorded.
    note.confirmed = result.recorder.id != 0 ? result.recorder.confirmed
                                             : result.terminalPaused || !editTerminal;
    return note;
}

}  // namespace

int main(int argc, char** argv) {
    IgnoreProgramSignals();
    QCoreApplication app(argc, argv);
    GuardOptions options;
    if (!ReadOptions(app, &options))
        return 2;
    ChannelWatch watch(options.channelFd);
    const ChannelWatch::End end = watch.Watch();
    if (end == ChannelWatch::End::Safe)
        return 0;
    // The port is closed before the note is left: a program started again once it sees the note
    // finds the port free.
    const DeckSafing::Result result =
        DeckSafing(options.portFd, options.portPath)
            .Run(options.recorderId, options.playerId, options.editTerminal);
    const QString folder = ProgramFolder::ForRunningProgram(options.home).Path();
    LogFile(folder).Append(LogLine(watch, end, result, options.editTerminal));
    NoteOf(watch, result, options.editTerminal).Write(folder);
    return 0;
}
