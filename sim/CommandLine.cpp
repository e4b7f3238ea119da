#include "sim/CommandLine.h"

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

}  // namespace

const char* CommandLine::Usage() {
    return "usage: tarn-sim --bench FILE [--link PATH] [--report FILE] [--transcript FILE]\n"
           "                [--no-pacing] [--answer-delay MS] [--faults SPEC] [--seed N]";
}

std::optional<CommandLine> CommandLine::Parse(const std::vector<std::string>& args,
                                              std::string* error) {
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--no-pacing") {
            line.pacing = false;
            continue;
        }
        if (i + 1 >= args.size()) {
            *error = option.rfind("--", 0) == 0 ? option + " needs a value"
                                                : "unexpected argument " + option;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        unsigned number = 0;
        if (option == "--bench") {
            line.benchPath = value;
        } else if (option == "--link") {
            line.linkPath = value;
        } else if (option == "--report") {
            line.reportPath = value;
        } else if (option == "--transcript") {
            line.transcriptPath = value;
        } else if (option == "--faults") {
            line.faults = value;
        } else if (option == "--answer-delay" && ParseUnsigned(value, 10'000, &number)) {
            line.answerDelayMs = static_cast<int>(number);
        } else if (option == "--seed" && ParseUnsigned(value, 0xFFFFFFFFu, &number)) {
            line.seed = number;
        } else {
            *error = (option == "--answer-delay" || option == "--seed")
                         ? option + ": not a number in range: " + value
                         : "unknown option " + option;
            return std::nullopt;
        }
    }
    if (line.benchPath.empty()) {
        *error = "--bench FILE is required";
        return std::nullopt;
    }
    return line;
}

}  // namespace tarnsim
