#pragma once

#include <optional>
#include <string>

namespace rpn {

// The program's own options. Everything else on the command line is a
// state file, as it always was.
enum class ProgramOption { Help, Version };

// The first --help, -h or --version among the arguments, if any.
std::optional<ProgramOption> FindProgramOption(int argc, const char* const* argv);

// What the option prints on standard output, ending in a newline.
std::string ProgramOptionText(ProgramOption option);

// The state file the command line names, as an absolute path in the file
// system's bytes, so that a calculator started elsewhere can open it too.
std::optional<std::string> StateFileArgument(int argc, const char* const* argv, const std::string& workingDirectory);

}  // namespace rpn
