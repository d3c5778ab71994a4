#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace rpn::cli {

// rpn-cli [--json] [--seed N] [--lines] [--state FILE] [--save FILE] [KEY ...]: runs key scripts on the
// calculator core from the reset state and prints the main display line (or
// the whole state as JSON). --help and --version print to `out` and return 0.
// Returns the process exit status.
int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace rpn::cli
