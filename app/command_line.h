#pragma once

#include <optional>
#include <string>

namespace rpn {

// The program's own options; Unknown is any other argument that starts with
// '-' before a "--", which is taken for a mistyped option, not a file.
enum class ProgramOption { Help, Version, Unknown };

struct CommandLine {
    // The first option, if any: the program answers it and ends.
    std::optional<ProgramOption> option;
    std::string unknownArgument{};
    // The state file, as an absolute path in the file system's bytes, so that
    // a calculator started elsewhere can open it too.
    std::optional<std::string> file{};
};

CommandLine ParseCommandLine(int argc, const char* const* argv, const std::string& workingDirectory);

// What the option prints, ending in a newline: on standard output for Help
// and Version, on standard error (with the usage) for Unknown.
std::string ProgramOptionText(const CommandLine& commandLine);

}  // namespace rpn
