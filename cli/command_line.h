#pragma once

#include <string>
#include <vector>

namespace vernalith {

// The command-line tool: parses `args` (without the program name), reads the input text from the
// named file or `inFd`, runs the procedures in order and writes the result to the named file or
// `outFd`. Messages go to `errFd`. Returns 0 when done, 1 when reading, a procedure or writing
// failed, 2 on bad usage. `errIsTerminal` turns on the progress line.
int RunCommandLine(const std::vector<std::string>& args, int inFd, int outFd, int errFd, bool errIsTerminal = false);

}  // namespace vernalith
