#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Whole-file reads and atomic replacement: the new content goes to a temporary file in the same
// folder, is flushed to disk and then renamed over the old file, so a reader sees either the old
// or the new file and never a half-written one.
class AtomicFileWriter {
public:
    virtual ~AtomicFileWriter() = default;
    // Returns false (and leaves the target untouched) when any step fails, and refuses a file
    // that the user may not write: one without any write bit (the read-only attribute, which
    // binds the administrator too) or one the user cannot open for writing. A writable file in a
    // folder where no temporary file can be made is written in place instead.
    bool Replace(const std::string& nativePath, const std::string& bytes);
    // The whole file, read before it is rewritten (as ReadWholeFile, through ReadChunk).
    std::optional<std::string> Read(const std::string& nativePath);

protected:
    // One write of a chunk to the temporary file; tests override it to fail part way.
    virtual long WriteChunk(int fd, const char* data, size_t size);
    // One read of a chunk of the file; tests override it to fail part way.
    virtual long ReadChunk(int fd, char* data, size_t size);
    // Reserves disk space for a file of size bytes (fallocate); 0 or an error number, EOPNOTSUPP
    // where the file system cannot reserve ahead. Tests override it to stand for a disk with
    // little room or a file system without the call.
    virtual int ReserveSpace(int fd, long size);
    // Creates the temporary file from a mkstemp pattern; tests override it to refuse as a folder
    // without write permission does.
    virtual int MakeTemporaryFile(std::string& pattern);

private:
    bool WriteAll(int fd, const std::string& bytes);
    bool ExtendTo(int fd, long from, long to);
    bool WriteInPlace(const std::string& target, const std::string& bytes);
};

// The whole file, or no value when it cannot be opened, is no regular file (a folder, a FIFO, a
// device: refused at once), or a read fails or ends before the file's size: a damaged read is
// never taken for the file; also none for a file larger than maxBytes, which is not read.
std::optional<std::string> ReadWholeFile(const std::string& nativePath, size_t maxBytes = SIZE_MAX);
