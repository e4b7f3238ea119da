#include "sim/CommandLine.h"

#include <charconv>
#include <map>

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

}  // namespace

const char* CommandLine::Usage() {
    return "usage: tarn-sim --bench FILE [--link PATH] [--report FILE] [--transcript FILE]\n"
           "                [--no-pacing] [--answer-delay MS] [--faults SPEC] [--seed N]\n"
           "       tarn-sim --help | --version";
}

std::optional<CommandLine> CommandLine::Parse(const std::vector<std::string>& args,
                                              std::string* error) {
    static const std::map<std::string, std::string CommandLine::*> kTextOptions = {
        {"--bench", &CommandLine::benchPath},
        {"--link", &CommandLine::linkPath},
        {"--report", &CommandLine::reportPath},
        {"--transcript", &CommandLine::transcriptPath},
        {"--faults", &CommandLine::faults}};
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--no-pacing") {
            line.pacing = false;
            continue;
        }
        if (option == "--help" || option == "-h" || option == "--version") {
            (option == "--version" ? line.version : line.help) = true;
            return line;
        }
        const auto text = kTextOptions.find(option);
        const bool isNumber = option == "--answer-delay" || option == "--seed";
        if (text == kTextOptions.end() && !isNumber) {
            *error = option.rfind('-', 0) == 0 ? "unknown option " + option
                                               : "unexpected argument " + option;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            *error = option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (!isNumber) {
            line.*(text->second) = value;
            continue;
        }
        const bool seed = option == "--seed";
        unsigned number = 0;
        if (!ParseUnsigned(value, seed ? 0xFFFFFFFFu : 10'000u, &number)) {
            *error = option + ": not a number in range: " + value;
            return std::nullopt;
        }
        if (seed)
            line.seed = number;
        else
            line.answerDelayMs = static_cast<int>(number);
    }
    if (line.benchPath.empty()) {
        *error = "--bench FILE is required";
        return std::nullopt;
    }
    return line;
}

}  // namespace tarnsim
