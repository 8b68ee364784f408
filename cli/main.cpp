#include <unistd.h>

#include <string>
#include <vector>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vernalith::RunCommandLine(args, STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO, isatty(STDERR_FILENO) != 0);
}
