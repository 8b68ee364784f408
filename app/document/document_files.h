#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "app/document/file_dialogs.h"

namespace vernalith {

// The biggest file the editor opens: a bigger one would hold the window for many seconds and take
// gigabytes of memory (the text is held as UTF-16 and again as UTF-8 in the control).
inline constexpr size_t kMaxDocumentFileBytes = 300'000'000;

// Reads a document file whole and decodes it: a byte-order mark decides (UTF-8, UTF-16 LE or BE);
// without one, bytes that are valid UTF-8 are UTF-8 and anything else is the ANSI code page. Gives
// the text as UTF-8, as the editor holds it (a UTF-8 file as it is, without conversion). On failure
// returns nullopt and puts the system's description of the problem in `problem`.
std::optional<std::string> ReadDocumentFile(const QString& path, QString& problem);

// The system's description of running out of memory, as the file functions put it in `problem`.
QString OutOfMemoryProblem();

// Writes `utf8`, a text as the editor holds it (valid UTF-8), in `encoding` with no byte-order mark:
// UTF-8 as it is, ANSI converted. The file is replaced in one step: the bytes go to a temporary file
// beside it that then takes its place (its permissions kept; a symbolic link keeps
// pointing at the replaced file). A target that is not a regular file (a device, a pipe) is written
// straight into. On failure the old file is left as it was, no temporary file stays behind, and
// `problem` holds the system's description.
bool WriteDocumentFile(const QString& path, std::string_view utf8, SaveEncoding encoding, QString& problem);

}  // namespace vernalith
