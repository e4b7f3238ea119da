// The options of tarn-sim, parsed and checked.
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
    bool help = false;     // --help or -h: show the usage and end
    bool version = false;  // --version: show the version and end

    // Nothing, with a message in *error, when the arguments are wrong.
    static std::optional<CommandLine> Parse(const std::vector<std::string>& args,
                                            std::string* error);
    static const char* Usage();
};

}  // namespace tarnsim
