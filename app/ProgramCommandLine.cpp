#include "app/ProgramCommandLine.h"

#include <array>

namespace {

// The toolkit's options that take a value, and those that stand alone, in their single-dash
// form (the toolkit also accepts them with two dashes).
constexpr std::array kToolkitOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme",   "plugin",      "qmljsdebugger",
    "display",  "geometry",           "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "style",    "stylesheet",         "session"};
constexpr std::array kToolkitFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

template <size_t N>
bool IsToolkitOption(const QString& arg, const std::array<const char*, N>& names) {
    QString name = arg.startsWith(QStringLiteral("--")) ? arg.mid(2) : arg.mid(1);
    name = name.section(u'=', 0, 0);
    for (const char* known : names) {
        if (name == QLatin1String(known))
            return true;
    }
    return false;
}

// The arguments before "--" without the toolkit's options and their values.
QStringList WithoutToolkitOptions(const QStringList& args) {
    QStringList kept;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(u'-') || arg == QStringLiteral("-")) {
            kept << arg;
        } else if (IsToolkitOption(arg, kToolkitOptionsWithValue)) {
            if (!arg.contains(u'='))
                ++i;
        } else if (!IsToolkitOption(arg, kToolkitFlags)) {
            kept << arg;
        }
    }
    return kept;
}

bool IsOption(const QString& arg) {
    return arg.startsWith(u'-') && arg != QStringLiteral("-");
}

}  // namespace

ProgramCommandLine ParseProgramCommandLine(const QStringList& args) {
    // After "--" everything is a file name, even one that starts with a dash.
    const qsizetype separator = args.indexOf(QStringLiteral("--"));
    const QStringList options = args.mid(0, separator);
    const QStringList files = separator < 0 ? QStringList() : args.mid(separator + 1);

    ProgramCommandLine line;
    line.options = ParseStartOptions(WithoutToolkitOptions(options));
    if (!line.options.error.isEmpty()) {
        line.action = ProgramCommandLine::Action::Refuse;
        line.error = line.options.error;
        return line;
    }
    QStringList plain;
    for (const QString& arg : line.options.arguments) {
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            line.action = ProgramCommandLine::Action::ShowHelp;
            return line;
        }
        if (arg == QStringLiteral("--version")) {
            line.action = ProgramCommandLine::Action::ShowVersion;
            return line;
        }
        if (IsOption(arg)) {
            line.action = ProgramCommandLine::Action::Refuse;
            line.error = QStringLiteral("unknown option %1").arg(arg);
            return line;
        }
        plain << arg;
    }
    line.options.arguments = plain + files;
    return line;
}

QString ProgramUsage() {
    return QStringLiteral(
               "usage: clipwright [options] [PROJECT.cwf]\n"
               "The edit controller for home video: marks scenes from a player deck and copies\n"
               "them onto a recorder over the Tarn bus.\n"
               "\n"
               "options:\n") +
           StartOptionsUsage() +
           QStringLiteral(
               "\n"
               "  -h, --help          show this help and end\n"
               "  --version           show the version and end\n"
               "\n"
               "A project file (.cwf, or a legacy .trn) opens when the main window appears. While\n"
               "the program runs on the same program folder, a second start hands its file to\n"
               "it and ends.\n");
}
