#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/settings_source.h"

namespace vernalith {

// The settings files' formats and the reading and writing of a whole settings folder, driven by the
// settings table's file and record columns. Errors are values: the caller shows them.

inline constexpr int kOptionsIniRecords = 7;
inline constexpr int kOptions2IniRecords = 19;
inline constexpr size_t kTextRecordSize = 256;

// The lines of a text-lines file: a byte-order mark (UTF-8, UTF-16 LE or BE) decides the encoding,
// otherwise the ANSI code page; the text ends at its first U+0000; lines end at CR LF, lone CR or LF.
std::vector<std::u16string> DecodeTextLines(std::string_view bytes);
// A text-lines file's bytes: every line followed by CR LF, in the ANSI code page; when a line holds
// a character the code page lacks, in UTF-8 with a byte-order mark instead, so nothing is lost.
std::string EncodeTextLines(const std::vector<std::u16string>& lines);

// `options.ini`: little-endian 32-bit records. Reading yields the whole records the bytes hold.
std::string EncodeIntegerRecords(const std::vector<int32_t>& values);
std::vector<int32_t> DecodeIntegerRecords(std::string_view bytes);

// `options2.ini`: 256-byte records of a length byte, that many ANSI bytes and padding. A text is cut
// to its first 255 bytes; a character the code page lacks is stored as '?'.
std::string EncodeTextRecords(const std::vector<std::u16string>& texts);
std::vector<std::u16string> DecodeTextRecords(std::string_view bytes);

// A failure to show to the user, with the file's full name and the system's description.
struct SettingsFileError {
    enum class Kind { CannotOpen, ReadBeyondEnd, CannotCreate };
    Kind kind;
    std::string path;
    std::string description;

    // "Cannot open file "%s". %s", "Read beyond end of file" or "Cannot create file "%s". %s".
    std::string Message() const;
};

// What reading a settings folder found, as the values to put into the settings in the order given
// (the order of the files and their records).
struct SettingsFolderContents {
    std::vector<std::pair<Setting, std::u16string>> values;
    bool listsRead = false;  // the three text-lines files were read
    bool complete = false;   // every file was read in full
    std::optional<SettingsFileError> error;
};

// Reads the five settings files of `folder` in order and stops at the first that cannot be read: a
// text-lines file that cannot be opened and a short record file are errors; a record file that cannot
// be opened for reading and writing stops silently. `ReplaceList` is emptied before its file is read.
SettingsFolderContents LoadSettingsFolder(const std::string& folder);

// Writes the five settings files of `folder` from `settings`, each file atomically (a temporary file
// beside it renamed over it, so a failed write leaves the old file as it was). A text-lines file that
// cannot be written is an error and ends the writing; a record file that cannot be written ends it
// silently.
std::optional<SettingsFileError> SaveSettingsFolder(const std::string& folder, const SettingsSource& settings);

// Writes `bytes` to `path` atomically; on failure returns the system's description and leaves the
// file as it was. Something that is not a regular file (a FIFO, a device) is written in place.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace vernalith
