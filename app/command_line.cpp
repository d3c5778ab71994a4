#include "app/command_line.h"

#include <string_view>

#ifndef RPN_VERSION
#error "the build passes the project's version as RPN_VERSION"
#endif

namespace rpn {

std::optional<ProgramOption> FindProgramOption(int argc, const char* const* argv)
{
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "--help" || argument == "-h")
            return ProgramOption::Help;
        if (argument == "--version")
            return ProgramOption::Version;
    }
    return std::nullopt;
}

std::string ProgramOptionText(ProgramOption option)
{
    if (option == ProgramOption::Version)
        return "rpn " RPN_VERSION "\n";
    return "Usage: rpn [FILE]\n"
           "A scientific calculator in Reverse Polish Notation.\n"
           "\n"
           "  FILE       a state file (*.rpn) to open instead of the saved state; when a\n"
           "             calculator is already running, it opens the file there\n"
           "  -h, --help print this help and exit\n"
           "  --version  print the version and exit\n"
           "\n"
           "The state is saved when the calculator closes and comes back at the next start.\n";
}

std::optional<std::string> StateFileArgument(int argc, const char* const* argv, const std::string& workingDirectory)
{
    if (argc < 2 || argv[1][0] == '\0')
        return std::nullopt;
    const std::string path = argv[1];
    if (path.front() == '/')
        return path;
    return workingDirectory + '/' + path;
}

}  // namespace rpn
