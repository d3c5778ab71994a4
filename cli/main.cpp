#include <iostream>
#include <string>
#include <vector>

#include "cli/runner.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return rpn::cli::Run(arguments, std::cin, std::cout, std::cerr);
}
