#include "framework/ByteStream.h"

#include <fcntl.h>
#include <libgen.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "framework/ArchiveException.h"

namespace {

constexpr size_t kBufferSize = 64 * 1024;

[[noreturn]] void ThrowFileError(const std::string& path, const char* what, int error)
{
    throw ArchiveException(ArchiveException::FileError,
                           path + ": " + what + ": " + std::strerror(error));
}

// 0 when this process may write the existing file `path` of status `st`, else the error
// that says why not. Root passes every access check, so for root the bits alone count: a
// file without any write bit stays.
int WriteRefusal(const std::string& path, const struct stat& st)
{
    if (::geteuid() == 0) {
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 ? 0 : EACCES;
    }
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string DirectoryOf(const std::string& path)
{
    std::string copy = path;
    return dirname(copy.data());
}

}  // namespace

size_t MemoryInputStream::Read(void* buffer, size_t size)
{
    size_t n = std::min(size, size_ - pos_);
    if (n > 0) {
        std::memcpy(buffer, data_ + pos_, n);
        pos_ += n;
    }
    return n;
}

void MemoryOutputStream::Write(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
}

FileInputStream::FileInputStream(const std::string& path) : path_(path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        ThrowFileError(path, "cannot open", errno);
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        int error = errno;
        ::close(fd_);
        ThrowFileError(path, "cannot read", error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        ThrowFileError(path, "cannot read", EISDIR);
    }
    size_ = static_cast<uint64_t>(st.st_size);
    buffer_.resize(kBufferSize);
}

FileInputStream::~FileInputStream()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void FileInputStream::Fill()
{
    bufferPos_ = 0;
    bufferEnd_ = 0;
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ThrowFileError(path_, "cannot read", errno);
        }
        bufferEnd_ = static_cast<size_t>(n);
        return;
    }
}

size_t FileInputStream::ReadDirect(uint8_t* out, size_t size)
{
    for (;;) {
        ssize_t n = ::read(fd_, out, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ThrowFileError(path_, "cannot read", errno);
        }
        return static_cast<size_t>(n);
    }
}

size_t FileInputStream::Read(void* buffer, size_t size)
{
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < size) {
        if (bufferPos_ == bufferEnd_) {
            if (size - done >= buffer_.size()) {
                // A large read goes from the file into its place without the buffer.
                size_t got = ReadDirect(out + done, size - done);
                done += got;
                if (got == 0) {
                    break;
                }
                continue;
            }
            Fill();
            if (bufferEnd_ == 0) {
                break;
            }
        }
        size_t n = std::min(size - done, bufferEnd_ - bufferPos_);
        std::memcpy(out + done, buffer_.data() + bufferPos_, n);
        bufferPos_ += n;
        done += n;
    }
    consumed_ += done;
    return done;
}

uint64_t FileInputStream::Remaining() const
{
    return consumed_ < size_ ? size_ - consumed_ : 0;
}

AtomicFileOutputStream::AtomicFileOutputStream(const std::string& path) : path_(path)
{
    // Saving through a symbolic link replaces the file it points to, not the link.
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        path_ = real;
        std::free(real);
    }
    struct stat st {};
    const bool exists = ::stat(path_.c_str(), &st) == 0;
    if (int refusal = exists ? WriteRefusal(path_, st) : 0) {
        ThrowFileError(path, "cannot write", refusal);
    }
    tempPath_ = path_ + ".XXXXXX";
    fd_ = ::mkostemp(tempPath_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        ThrowFileError(path, "cannot create", errno);
    }
    // The new file takes the permissions of the file it replaces, else the usual ones.
    mode_t mode = 0666;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd_, mode);
    buffer_.reserve(kBufferSize);
}

AtomicFileOutputStream::~AtomicFileOutputStream()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(tempPath_.c_str());
    }
}

void AtomicFileOutputStream::Fail(const char* what)
{
    int error = errno;
    ::close(fd_);
    ::unlink(tempPath_.c_str());
    fd_ = -1;
    ThrowFileError(path_, what, error);
}

void AtomicFileOutputStream::Write(const void* data, size_t size)
{
    if (fd_ < 0) {
        ThrowFileError(path_, "cannot write", EBADF);
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (buffer_.size() + size > kBufferSize) {
        Flush();
    }
    if (size >= kBufferSize) {
        WriteAll(bytes, size);  // large blocks go out as they are, without a copy
        return;
    }
    buffer_.insert(buffer_.end(), bytes, bytes + size);
}

void AtomicFileOutputStream::WriteAll(const uint8_t* bytes, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail("cannot write");
        }
        done += static_cast<size_t>(n);
    }
}

void AtomicFileOutputStream::Flush()
{
    if (fd_ < 0) {
        ThrowFileError(path_, "cannot write", EBADF);
    }
    WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicFileOutputStream::Commit()
{
    Flush();
    if (::fsync(fd_) != 0) {
        Fail("cannot write");
    }
    if (::close(fd_) != 0) {
        fd_ = -1;
        int error = errno;
        ::unlink(tempPath_.c_str());
        ThrowFileError(path_, "cannot write", error);
    }
    fd_ = -1;
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        int error = errno;
        ::unlink(tempPath_.c_str());
        ThrowFileError(path_, "cannot replace", error);
    }
    int dir = ::open(DirectoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
