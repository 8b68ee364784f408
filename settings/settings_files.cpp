#include "settings/settings_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/encoding.h"
#include "core/line_list.h"
#include "settings/settings_table.h"

namespace vernalith {
namespace {

std::string SystemDescription(int error) { return std::strerror(error); }

// The full name of a settings file, as messages show it.
std::string FullName(const std::string& folder, SettingsFile file) {
    std::error_code ignored;
    std::filesystem::path path = std::filesystem::path(folder) / SettingsFileName(file);
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return (absolute.empty() ? path : absolute).lexically_normal().string();
}

// Reads a whole file through an open descriptor; false with errno set when reading fails.
bool ReadAll(int fd, std::string& out) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buffer, static_cast<size_t>(got));
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

// The file's bytes, or the error number of the failed open or read.
struct FileBytes {
    std::string bytes;
    int error = 0;
};

FileBytes ReadFile(const std::string& path, int flags) {
    FileBytes result;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    if (!ReadAll(fd, result.bytes)) result.error = errno;
    ::close(fd);
    return result;
}

std::vector<const SettingInfo*> SettingsIn(SettingsFile file) {
    std::vector<const SettingInfo*> settings;
    for (const SettingInfo& info : SettingsTable()) {
        if (info.file == file) settings.push_back(&info);
    }
    return settings;
}

// The setting stored in a record of a record file.
const SettingInfo* RecordSetting(SettingsFile file, int record) {
    for (const SettingInfo& info : SettingsTable()) {
        if (info.file == file && info.record == record) return &info;
    }
    return nullptr;
}

std::u16string NumberText(int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// A flag or choice as a record: its number, 0 when the text is not one.
int32_t RecordNumber(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F) return 0;
        ascii.push_back(static_cast<char>(c));
    }
    int32_t value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return error == std::errc() && end == ascii.data() + ascii.size() ? value : 0;
}

constexpr SettingsFile kListFiles[] = {SettingsFile::Options1Txt, SettingsFile::Options2Txt, SettingsFile::Options3Txt};

// Reads one record file into `contents`; false when loading stops there.
bool LoadRecordFile(const std::string& folder, SettingsFile file, int records, SettingsFolderContents& contents) {
    // The record files are opened for reading and writing: one that cannot be opened so counts as missing.
    const FileBytes read = ReadFile(FullName(folder, file), O_RDWR);
    if (read.error != 0) return false;
    const bool integers = file == SettingsFile::OptionsIni;
    std::vector<std::u16string> texts;
    if (integers) {
        for (int32_t value : DecodeIntegerRecords(read.bytes)) texts.push_back(NumberText(value));
    } else {
        texts = DecodeTextRecords(read.bytes);
    }
    for (int record = 1; record <= records; ++record) {
        if (static_cast<size_t>(record) > texts.size()) {
            contents.error = SettingsFileError{SettingsFileError::Kind::ReadBeyondEnd, FullName(folder, file), ""};
            return false;
        }
        if (const SettingInfo* info = RecordSetting(file, record)) {
            contents.values.emplace_back(info->id, texts[static_cast<size_t>(record - 1)]);
        }
    }
    return true;
}

}  // namespace

std::vector<std::u16string> DecodeTextLines(std::string_view bytes) {
    std::u16string text = DecodeWithMarkOrAnsi(bytes);
    if (const size_t zero = text.find(u'\0'); zero != std::u16string::npos) text.resize(zero);
    return SplitLines(text);
}

std::string EncodeTextLines(const std::vector<std::u16string>& lines) {
    const std::u16string text = JoinLines(lines);
    std::string ansi = EncodeCp1251(text);
    if (DecodeCp1251(ansi) == text) return ansi;
    return "\xEF\xBB\xBF" + EncodeUtf8(text);
}

std::string EncodeIntegerRecords(const std::vector<int32_t>& values) {
    std::string bytes;
    for (int32_t value : values) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
    return bytes;
}

std::vector<int32_t> DecodeIntegerRecords(std::string_view bytes) {
    std::vector<int32_t> values;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
        values.push_back(static_cast<int32_t>(bits));
    }
    return values;
}

std::string EncodeTextRecords(const std::vector<std::u16string>& texts) {
    std::string bytes;
    bytes.reserve(texts.size() * kTextRecordSize);
    for (const std::u16string& text : texts) {
        std::string ansi = EncodeCp1251(text);
        if (ansi.size() > kTextRecordSize - 1) ansi.resize(kTextRecordSize - 1);
        std::string record(kTextRecordSize, '\0');
        record[0] = static_cast<char>(ansi.size());
        record.replace(1, ansi.size(), ansi);
        bytes += record;
    }
    return bytes;
}

std::vector<std::u16string> DecodeTextRecords(std::string_view bytes) {
    std::vector<std::u16string> texts;
    for (size_t at = 0; at + kTextRecordSize <= bytes.size(); at += kTextRecordSize) {
        const size_t length = static_cast<unsigned char>(bytes[at]);
        texts.push_back(DecodeCp1251(bytes.substr(at + 1, length)));
    }
    return texts;
}

std::string SettingsFileError::Message() const {
    switch (kind) {
        case Kind::CannotOpen:
            return "Cannot open file \"" + path + "\". " + description;
        case Kind::ReadBeyondEnd:
            return "Read beyond end of file";
        case Kind::CannotCreate:
            return "Cannot create file \"" + path + "\". " + description;
    }
    return {};
}

SettingsFolderContents LoadSettingsFolder(const std::string& folder) {
    SettingsFolderContents contents;
    for (SettingsFile file : kListFiles) {
        // Each list file holds one setting; the replacement list is emptied before its file is read.
        const SettingInfo& info = *SettingsIn(file).front();
        if (info.id == Setting::ReplaceList) contents.values.emplace_back(info.id, u"");
        const std::string path = FullName(folder, file);
        const FileBytes read = ReadFile(path, O_RDONLY);
        if (read.error != 0) {
            contents.error =
                SettingsFileError{SettingsFileError::Kind::CannotOpen, path, SystemDescription(read.error)};
            return contents;
        }
        contents.values.emplace_back(info.id, JoinLines(DecodeTextLines(read.bytes)));
    }
    contents.listsRead = true;
    if (!LoadRecordFile(folder, SettingsFile::OptionsIni, kOptionsIniRecords, contents)) return contents;
    if (!LoadRecordFile(folder, SettingsFile::Options2Ini, kOptions2IniRecords, contents)) return contents;
    contents.complete = true;
    return contents;
}

std::optional<SettingsFileError> SaveSettingsFolder(const std::string& folder, const SettingsSource& settings) {
    for (SettingsFile file : kListFiles) {
        const SettingInfo& info = *SettingsIn(file).front();
        const std::string path = FullName(folder, file);
        if (auto failure = WriteFileAtomically(path, EncodeTextLines(SplitLines(settings.Value(info.id))))) {
            return SettingsFileError{SettingsFileError::Kind::CannotCreate, path, *failure};
        }
    }
    std::vector<int32_t> numbers;
    for (int record = 1; record <= kOptionsIniRecords; ++record) {
        const SettingInfo* info = RecordSetting(SettingsFile::OptionsIni, record);
        numbers.push_back(info ? RecordNumber(settings.Value(info->id)) : 0);
    }
    if (WriteFileAtomically(FullName(folder, SettingsFile::OptionsIni), EncodeIntegerRecords(numbers))) {
        return std::nullopt;
    }
    std::vector<std::u16string> texts;
    for (int record = 1; record <= kOptions2IniRecords; ++record) {
        const SettingInfo* info = RecordSetting(SettingsFile::Options2Ini, record);
        texts.push_back(info ? settings.Value(info->id) : std::u16string());
    }
    WriteFileAtomically(FullName(folder, SettingsFile::Options2Ini), EncodeTextRecords(texts));
    return std::nullopt;
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    // A symbolic link stays a link: the file it points to is replaced.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A FIFO or a device cannot be renamed over: write into it.
        const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) return SystemDescription(errno);
        const bool written = WriteAll(fd, bytes);
        const int error = errno;
        ::close(fd);
        if (!written) return SystemDescription(error);
        return std::nullopt;
    }
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return SystemDescription(errno);
    // The new file keeps the old one's permissions; a new one is readable by others, as files usually are.
    const mode_t mode = exists ? (existing.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return SystemDescription(error);
    }
    return std::nullopt;
}

}  // namespace vernalith
