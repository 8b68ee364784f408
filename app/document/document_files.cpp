#include "app/document/document_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "core/encoding.h"

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

}  // namespace

std::optional<std::u16string> ReadDocumentFile(const QString& path, QString& problem) {
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
        return DecodeAuto(std::string_view(bytes.get(), done));
    } catch (const std::bad_alloc&) {
        problem = SystemProblem(ENOMEM);
        return std::nullopt;
    }
}

bool WriteDocumentFile(const QString& path, std::u16string_view text, SaveEncoding encoding, QString& problem) {
    std::string bytes;
    try {
        bytes = encoding == SaveEncoding::Ansi ? EncodeCp1251(text) : EncodeUtf8(text);
    } catch (const std::bad_alloc&) {
        problem = SystemProblem(ENOMEM);
        return false;
    }
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
