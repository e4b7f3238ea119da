#include "sim/CommandLine.h"

#include <QCommandLineParser>
#include <algorithm>
#include <charconv>

namespace tarnsim {

namespace {

bool ParseUnsigned(const std::string& text, unsigned max, unsigned* out) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > max)
        return false;
    *out = value;
    return true;
}

// What was wrong with a line the parser refused, the option named as it was written.
std::string Refusal(const QCommandLineParser& parser, const QStringList& args) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        const QString dashes =
            args.contains("--" + name) || !args.filter("--" + name + "=").isEmpty()
                ? QStringLiteral("--")
                : QStringLiteral("-");
        return ("unknown option " + dashes + name).toStdString();
    }
    // Else a flag was given a value, or the last option came without one.
    const QStringList flagsWithValues = args.filter(QStringLiteral("--no-pacing="));
    if (!flagsWithValues.isEmpty())
        return "--no-pacing takes no value";
    return "missing value for " + args.last().toStdString();
}

// A number option's value into *out; false with *error set when it is not one in [0, max].
bool TakeNumber(const QCommandLineParser& parser, const char* name, unsigned max, unsigned* out,
                std::string* error) {
    const std::string text = parser.value(QLatin1String(name)).toStdString();
    if (ParseUnsigned(text, max, out))
        return true;
    *error = std::string("--") + name + ": not a number in range: " + text;
    return false;
}

}  // namespace

const std::vector<CommandLine::Option>& CommandLine::Options() {
    static const std::vector<Option> options = {
        {"bench", "FILE", "the devices on the bus (JSON); required"},
        {"link", "PATH", "also make a symlink PATH to the pseudo-terminal"},
        {"report", "FILE", "write the recorders' tape report (JSON) at the end"},
        {"transcript", "FILE", "write every frame with its time as the run goes"},
        {"no-pacing", "", "answer at once instead of at the pace of a 9600 baud line"},
        {"answer-delay", "MS", "every device thinks this long before it answers, 0 to 10000"},
        {"faults", "SPEC", "faults: silence short badcheck noise refuse vanish away late"},
        {"seed", "N", "seed for the faults and the latency jitter (default 1)"},
        {"version", "", "show the version and end"}};
    return options;
}

std::string CommandLine::Usage() {
    return "usage: tarn-sim --bench FILE [--link PATH] [--report FILE] [--transcript FILE]\n"
           "                [--no-pacing] [--answer-delay MS] [--faults SPEC] [--seed N]\n"
           "       tarn-sim --help | --version";
}

std::string CommandLine::Help() {
    std::string text = Usage() +
                       "\nSimulated devices on the Tarn bus, served on a pseudo-terminal.\n\n"
                       "options:\n";
    const auto line = [&text](std::string left, const std::string& description) {
        left = "  " + left + ' ';
        left.resize(std::max<size_t>(left.size(), 22), ' ');
        text += left + description + '\n';
    };
    for (const Option& option : Options())
        line(std::string("--") + option.name + (*option.valueName ? " " : "") + option.valueName,
             option.description);
    line("-h, --help", "show this help and end");
    return text;
}

std::optional<CommandLine> CommandLine::Parse(const std::vector<std::string>& args,
                                              std::string* error) {
    static const std::vector<std::pair<const char*, std::string CommandLine::*>> kTextOptions = {
        {"bench", &CommandLine::benchPath},
        {"link", &CommandLine::linkPath},
        {"report", &CommandLine::reportPath},
        {"transcript", &CommandLine::transcriptPath},
        {"faults", &CommandLine::faults}};
    QCommandLineParser parser;
    for (const Option& option : Options()) {
        parser.addOption(QCommandLineOption(QLatin1String(option.name), QString(),
                                            QLatin1String(option.valueName)));
    }
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    // The parser takes the first argument for the program's own name.
    if (!parser.parse(QStringList{QStringLiteral("tarn-sim")} + arguments)) {
        *error = Refusal(parser, arguments);
        return std::nullopt;
    }
    CommandLine line;
    line.help = parser.isSet(QStringLiteral("help"));
    line.version = parser.isSet(QStringLiteral("version"));
    if (line.help || line.version)
        return line;
    if (!parser.positionalArguments().isEmpty()) {
        *error = "unexpected argument " + parser.positionalArguments().front().toStdString();
        return std::nullopt;
    }
    for (const auto& [name, field] : kTextOptions)
        line.*field = parser.value(QLatin1String(name)).toStdString();
    line.pacing = !parser.isSet(QStringLiteral("no-pacing"));
    unsigned delay = 0;
    if (parser.isSet(QStringLiteral("answer-delay"))) {
        if (!TakeNumber(parser, "answer-delay", 10'000u, &delay, error))
            return std::nullopt;
        line.answerDelayMs = static_cast<int>(delay);
    }
    if (parser.isSet(QStringLiteral("seed")) &&
        !TakeNumber(parser, "seed", 0xFFFFFFFFu, &line.seed, error))
        return std::nullopt;
    if (line.benchPath.empty()) {
        *error = "--bench FILE is required";
        return std::nullopt;
    }
    return line;
}

}  // namespace tarnsim
