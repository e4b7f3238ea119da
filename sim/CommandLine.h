// The options of tarn-sim, read by Qt's parser ("--name value" or "--name=value") and checked.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnsim {

struct CommandLine {
    std::string benchPath;
    std::string linkPath;        // symlink to the pseudo-terminal, or empty
    std::string reportPath;      // tape report written at the end, or empty
    std::string transcriptPath;  // transcript written as the run goes, or empty
    bool pacing = true;
    std::optional<int> answerDelayMs;
    std::string faults;
    unsigned seed = 1;
    bool help = false;     // --help or -h: show the help and end
    bool version = false;  // --version: show the version and end

    // One option: its name without dashes, the placeholder of its value (empty for a flag) and
    // one line of help.
    struct Option {
        const char* name;
        const char* valueName;
        const char* description;
    };
    static const std::vector<Option>& Options();

    // Nothing, with a message naming the option in *error, when the arguments are wrong.
    static std::optional<CommandLine> Parse(const std::vector<std::string>& args,
                                            std::string* error);
    // The usage lines.
    static std::string Usage();
    // The usage, what the program does and its options one a line.
    static std::string Help();
};

}  // namespace tarnsim
