#include "core/byte_io.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "core/huge_pages.h"

namespace vernalith {
namespace {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void Fail(const std::string& what, const std::string& name, int error) {
    throw FileError("cannot " + what + " " + name + ": " + Reason(error));
}

// Closes a descriptor when it goes out of scope.
struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0) ::close(fd);
    }
};

// Follows symbolic links from `path` to the file they finally name (which may not exist yet).
std::string FollowLinks(std::string path, const std::string& name) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
        if (length < 0) Fail("write", name, errno);
        std::string link(buffer, static_cast<size_t>(length));
        if (!link.starts_with('/')) {
            const size_t slash = path.rfind('/');
            if (slash != std::string::npos) link = path.substr(0, slash + 1) + link;
        }
        path = std::move(link);
    }
    Fail("write", name, ELOOP);
}

// The temporary files being written, removed when the process is stopped by a signal (Ctrl+C, a
// kill), so that even then none is left behind. A handful of slots: one per file written at once.
std::array<std::atomic<const char*>, 64> pendingTemporaries;

extern "C" void RemoveTemporariesAndStop(int signal) {
    for (auto& slot : pendingTemporaries) {
        if (const char* path = slot.load()) ::unlink(path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void WatchTemporary(const char* path) {
    static const bool installed = [] {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction action {};
            if (::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
            action.sa_handler = RemoveTemporariesAndStop;
            sigemptyset(&action.sa_mask);
            action.sa_flags = 0;
            ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
    for (auto& slot : pendingTemporaries) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, path)) return;
    }
}

void ForgetTemporary(const char* path) {
    for (auto& slot : pendingTemporaries) {
        const char* expected = path;
        if (slot.compare_exchange_strong(expected, nullptr)) return;
    }
}

}  // namespace

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

ByteBuffer ReadAllBytes(int fd, const std::string& name) {
    struct stat info;
    if (::fstat(fd, &info) != 0) Fail("read", name, errno);
    if (S_ISDIR(info.st_mode)) Fail("read", name, EISDIR);
    // A regular file is read into a buffer of its size (plus one byte, to see that it ended); a pipe
    // into a buffer that doubles as it fills.
    size_t capacity = S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) + 1 : size_t{1} << 20;
    ByteBuffer buffer;
    buffer.data_.reset(static_cast<char*>(std::malloc(capacity)));
    if (!buffer.data_) Fail("read", name, ENOMEM);
    AdviseHugePages(buffer.data_.get(), capacity);
    for (;;) {
        if (buffer.size_ == capacity) {
            capacity *= 2;
            char* grown = static_cast<char*>(std::realloc(buffer.data_.get(), capacity));
            if (!grown) Fail("read", name, ENOMEM);
            buffer.data_.release();
            buffer.data_.reset(grown);
            AdviseHugePages(grown, capacity);
        }
        const ssize_t got = ::read(fd, buffer.data_.get() + buffer.size_, capacity - buffer.size_);
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("read", name, errno);
        }
        if (got == 0) break;
        buffer.size_ += static_cast<size_t>(got);
    }
    return buffer;
}

ByteBuffer ReadFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("read", Quoted(path), errno);
    FdCloser closer{fd};
    return ReadAllBytes(fd, Quoted(path));
}

void WriteAllBytes(int fd, std::string_view bytes, const std::string& name) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail("write", name, errno);
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
}

SafeOutputFile::SafeOutputFile(const std::string& path) : path_(Quoted(path)) {
    target_ = FollowLinks(path, path_);
    struct stat info;
    const bool exists = ::stat(target_.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) Fail("write", path_, EISDIR);
    if (exists && !S_ISREG(info.st_mode)) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) Fail("write", path_, errno);
        return;
    }
    if (exists && ::access(target_.c_str(), W_OK) != 0) Fail("write", path_, errno);

    temporary_ = target_ + ".vernalith-XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        Fail("write", path_, error);
    }
    WatchTemporary(temporary_.c_str());
    mode_t mode;
    if (exists) {
        mode = info.st_mode & 07777;
        if (::fchown(fd_, info.st_uid, info.st_gid) != 0) {
            // Only root may give a file away; anyone else writes a file of their own, as an editor does.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0) {
        const int error = errno;
        Abandon();
        Fail("write", path_, error);
    }
}

SafeOutputFile::~SafeOutputFile() {
    if (!committed_) Abandon();
}

void SafeOutputFile::Abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        ForgetTemporary(temporary_.c_str());
    }
    temporary_.clear();
}

void SafeOutputFile::Write(std::string_view bytes) {
    try {
        WriteAllBytes(fd_, bytes, path_);
    } catch (const FileError&) {
        Abandon();
        throw;
    }
}

void SafeOutputFile::Commit() {
    if (temporary_.empty()) {
        const int failed = ::close(fd_) != 0 ? errno : 0;
        fd_ = -1;
        committed_ = true;
        if (failed) Fail("write", path_, failed);
        return;
    }
    // On disk before the rename, so that a crash leaves the old file or the new one, never an empty one.
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        const int error = errno;
        Abandon();
        Fail("write", path_, error);
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        Abandon();
        Fail("write", path_, error);
    }
    ForgetTemporary(temporary_.c_str());
    temporary_.clear();
    committed_ = true;
}

}  // namespace vernalith
