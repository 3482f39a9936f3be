#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Byte sources and sinks under an Archive. Reads return fewer bytes than asked only at the
// end of the data; I/O failures throw ArchiveException(FileError).
class InputStream {
public:
    virtual ~InputStream() = default;
    virtual size_t Read(void* buffer, size_t size) = 0;
    // Bytes left between the read position and the end of the data.
    virtual uint64_t Remaining() const = 0;
};

class OutputStream {
public:
    virtual ~OutputStream() = default;
    virtual void Write(const void* data, size_t size) = 0;
    virtual void Flush() {}
};

class MemoryInputStream : public InputStream {
public:
    MemoryInputStream(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(size)
    {
    }
    explicit MemoryInputStream(const std::vector<uint8_t>& bytes)
        : MemoryInputStream(bytes.data(), bytes.size())
    {
    }

    size_t Read(void* buffer, size_t size) override;
    uint64_t Remaining() const override { return size_ - pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class MemoryOutputStream : public OutputStream {
public:
    void Write(const void* data, size_t size) override;
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// A buffered reader of a whole regular file; its size is taken when it is opened.
class FileInputStream : public InputStream {
public:
    explicit FileInputStream(const std::string& path);  // throws FileError
    ~FileInputStream() override;
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;

    size_t Read(void* buffer, size_t size) override;
    uint64_t Remaining() const override;

private:
    void Fill();
    size_t ReadDirect(uint8_t* out, size_t size);

    int fd_ = -1;
    std::string path_;
    uint64_t size_ = 0;
    uint64_t consumed_ = 0;  // bytes handed out so far
    std::vector<uint8_t> buffer_;
    size_t bufferPos_ = 0;
    size_t bufferEnd_ = 0;
};

// Writes a file atomically: the bytes go to a temporary file beside the target, which
// Commit() flushes to disk and renames over the target. Without Commit() (an exception, a
// failed write) the temporary file is removed and the target is left as it was. An existing
// target that the user may not write is refused (FileError) before anything is written,
// although the rename would need only the folder's permission: judged by its permission
// bits as editors judge it, also for root, who could write any file.
class AtomicFileOutputStream : public OutputStream {
public:
    explicit AtomicFileOutputStream(const std::string& path);  // throws FileError
    ~AtomicFileOutputStream() override;
    AtomicFileOutputStream(const AtomicFileOutputStream&) = delete;
    AtomicFileOutputStream& operator=(const AtomicFileOutputStream&) = delete;

    void Write(const void* data, size_t size) override;
    void Flush() override;
    void Commit();  // throws FileError; the target then holds exactly what was written

private:
    void Fail(const char* what);
    // Writes every byte to the temporary file (the buffer flushed before).
    void WriteAll(const uint8_t* bytes, size_t size);

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    std::vector<uint8_t> buffer_;
};
