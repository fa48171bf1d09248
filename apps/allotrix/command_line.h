// The command line: `allocate`, `demo`, `polygon`, and the conventions of a
// command-line tool (--help with an example, --version, exit codes 0 on
// success, 2 on bad input, 1 on an internal error).
#pragma once

#include <ostream>

namespace AllotrixApp {

inline constexpr const char* kVersion = "0.1.0";

// `terminal`: standard input and error are a terminal, so prompts and a
// progress bar may be shown.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool terminal);

}  // namespace AllotrixApp
