#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vernalith {

// A failure of the file system, worded for the user in one line with the system's reason:
// "cannot read 'notes.txt': Is a directory".
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole content of a file or a stream, read with large reads into one buffer that is never
// zero-filled (sized from the file's size, or doubled while a pipe gives more).
class ByteBuffer {
public:
    std::string_view View() const { return {data_.get(), size_}; }
    // Gives the memory back (the text decoded from it is all that is needed afterwards).
    void Release() {
        data_.reset();
        size_ = 0;
    }

private:
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> data_;
    size_t size_ = 0;
    friend ByteBuffer ReadAllBytes(int fd, const std::string& name);
};

// Reads everything from `fd`; `name` is how errors call the source ("'x'" or "standard input").
ByteBuffer ReadAllBytes(int fd, const std::string& name);
// Opens and reads the file at `path`.
ByteBuffer ReadFileBytes(const std::string& path);

// Writes all of `bytes` to `fd` (large writes, retried when interrupted or partial).
void WriteAllBytes(int fd, std::string_view bytes, const std::string& name);

// The user's name for a file in messages: 'path' in single quotes.
std::string Quoted(const std::string& path);

// The result file of a run, written so that a failure never damages what was there:
// - a regular file (or a new one) is written as a uniquely named temporary file beside it, created
//   exclusively, that replaces it by a rename only when everything is written; it gets the old file's
//   permissions (a new file: 0666 less the umask);
// - a symbolic link is followed, the file it points to is replaced and the link stays;
// - anything else that exists (a FIFO, a device) is written straight into;
// - a file the user may not write is refused, as the shell refuses it.
// Without Commit() (a failure, an exception, or the process stopped by SIGINT, SIGTERM or SIGHUP) the
// temporary file is removed and the target is as it was.
class SafeOutputFile {
public:
    explicit SafeOutputFile(const std::string& path);
    ~SafeOutputFile();
    SafeOutputFile(const SafeOutputFile&) = delete;
    SafeOutputFile& operator=(const SafeOutputFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();

private:
    void Abandon();

    std::string path_;       // as the user named it, for messages
    std::string target_;     // the file replaced: the path with symbolic links followed
    std::string temporary_;  // empty when writing straight into the target
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace vernalith
