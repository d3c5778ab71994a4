#include "app/command_line.h"

#include <string_view>

#ifndef RPN_VERSION
#error "the build passes the project's version as RPN_VERSION"
#endif

namespace rpn {

CommandLine ParseCommandLine(int argc, const char* const* argv, const std::string& workingDirectory)
{
    CommandLine result;
    bool options = true;
    for (int index = 1; index < argc && !result.option; ++index) {
        const std::string_view argument = argv[index];
        if (options && argument == "--")
            options = false;
        else if (options && (argument == "--help" || argument == "-h"))
            result.option = ProgramOption::Help;
        else if (options && argument == "--version")
            result.option = ProgramOption::Version;
        else if (options && argument.starts_with('-'))
            result = {ProgramOption::Unknown, std::string(argument), std::nullopt};
        else if (!result.file && !argument.empty())
            result.file =
                argument.front() == '/' ? std::string(argument) : workingDirectory + '/' + std::string(argument);
    }
    return result;
}

std::string ProgramOptionText(const CommandLine& commandLine)
{
    if (commandLine.option == ProgramOption::Version)
        return "rpn " RPN_VERSION "\n";
    const std::string usage =
        "Usage: rpn [FILE]\n"
        "A scientific calculator in Reverse Polish Notation.\n"
        "\n"
        "  FILE       a state file (*.rpn) to open instead of the saved state; when a\n"
        "             calculator is already running, it opens the file there\n"
        "  -h, --help print this help and exit\n"
        "  --version  print the version and exit\n"
        "  --         end of the options: a FILE may then start with '-'\n"
        "\n"
        "The state is saved when the calculator closes and comes back at the next start.\n";
    if (commandLine.option == ProgramOption::Unknown)
        return "rpn: unknown option '" + commandLine.unknownArgument + "'\n" + usage;
    return usage;
}

}  // namespace rpn
