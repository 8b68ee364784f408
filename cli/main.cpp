#include <unistd.h>

#include <iostream>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    return vernalith::RunCommandLine(args, std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
