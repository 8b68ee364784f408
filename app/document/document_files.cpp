#include "app/document/document_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "core/encoding.h"
#include "core/fast_transcode.h"

namespace vernalith {
namespace {

QString SystemProblem(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Closes a file descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF, no cut sequence.
bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        // Eight ASCII bytes at a time.
        while (end - p >= 8) {
            uint64_t block;
            std::memcpy(&block, p, 8);
            if (block & 0x8080808080808080ULL) break;
            p += 8;
        }
        if (p >= end) break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        size_t length;
        unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (static_cast<size_t>(end - p) < length) return false;
        if (p[1] < low || p[1] > high) return false;
        for (size_t i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
        }
        p += length;
    }
    return true;
}

// The file's bytes as UTF-8 text: a mark decides; valid UTF-8 stays as it is; else code page 1251.
std::string AsUtf8(std::string_view bytes) {
    if (auto mark = DetectByteOrderMark(bytes)) {
        const std::string_view rest = bytes.substr(mark->length);
        if (mark->encoding == TextEncoding::Utf8 && IsValidUtf8(rest)) return std::string(rest);
        return EncodeUtf8(Decode(rest, mark->encoding));
    }
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return EncodeUtf8(FastDecodeCp1251(bytes, /*editorBreaks=*/false));
}

}  // namespace

QString OutOfMemoryProblem() { return SystemProblem(ENOMEM); }

std::optional<std::string> ReadDocumentFile(const QString& path, QString& problem) {
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that a pipe with no writer cannot hold the window; regular files ignore it.
    Descriptor file{::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) {
        problem = SystemProblem(errno);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        problem = SystemProblem(errno);
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        problem = SystemProblem(EISDIR);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        problem = QStringLiteral("Not a regular file");
        return std::nullopt;
    }
    const auto size = static_cast<size_t>(info.st_size);
    if (size > kMaxDocumentFileBytes) {
        problem = SystemProblem(EFBIG);
        return std::nullopt;
    }
    try {
        // Read in place into a buffer sized once, without zero-filling it first.
        std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
        size_t done = 0;
        while (done < size) {
            const ssize_t got = ::read(file.fd, bytes.get() + done, size - done);
            if (got < 0) {
                if (errno == EINTR) continue;
                problem = SystemProblem(errno);
                return std::nullopt;
            }
            if (got == 0) break;  // the file shrank while being read: take what is there
            done += static_cast<size_t>(got);
        }
        return AsUtf8(std::string_view(bytes.get(), done));
    } catch (const std::bad_alloc&) {
        problem = OutOfMemoryProblem();
        return std::nullopt;
    }
}

bool WriteDocumentFile(const QString& path, std::string_view utf8, SaveEncoding encoding, QString& problem) {
    // A UTF-8 save writes the editor's own bytes; only ANSI needs a conversion.
    std::string converted;
    if (encoding == SaveEncoding::Ansi) {
        try {
            converted = EncodeCp1251(*FastDecodeUtf8(utf8, /*strict=*/false, /*editorBreaks=*/false));
        } catch (const std::bad_alloc&) {
            problem = OutOfMemoryProblem();
            return false;
        }
    }
    const std::string_view bytes = encoding == SaveEncoding::Ansi ? std::string_view(converted) : utf8;
    const auto size = static_cast<qint64>(bytes.size());
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        // A device or a pipe: replacing it by a regular file would be wrong.
        QFile file(path);
        errno = 0;
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes.data(), size) != size) {
            problem = errno != 0 ? SystemProblem(errno) : file.errorString();
            return false;
        }
        return true;
    }
    QSaveFile file(path);
    // Unbuffered: the bytes go to the system in this one write, so a short write is seen here (a
    // buffered one may fail later, unseen, when the file is committed).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        problem = file.errorString();
        return false;
    }
    errno = 0;
    if (file.write(bytes.data(), size) != size) {
        // A short write leaves no error in the file object: the system's own reason is in errno.
        problem = errno != 0 ? SystemProblem(errno) : file.errorString();
        file.cancelWriting();
        file.commit();  // removes the temporary file
        return false;
    }
    if (!file.commit()) {
        problem = file.errorString();
        return false;
    }
    return true;
}

}  // namespace vernalith
