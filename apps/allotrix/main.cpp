// allotrix: the command-line program over the allocation layer.
#include <unistd.h>

#include <iostream>

#include "command_line.h"

int main(int argc, char** argv) {
    return AllotrixApp::RunCommandLine(argc, argv, std::cout, std::cerr, ::isatty(STDIN_FILENO) != 0 && ::isatty(STDERR_FILENO) != 0);
}
