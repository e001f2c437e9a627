#include "platform/AtomicFile.h"

#include "platform/RegularFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

long AtomicFileWriter::WriteChunk(int fd, const char* data, size_t size) {
    return static_cast<long>(::write(fd, data, size));
}

// The system call itself: where the file system lacks it, posix_fallocate reads the file to
// emulate it, which a descriptor open for writing only refuses ("bad file descriptor").
int AtomicFileWriter::ReserveSpace(int fd, long size) {
    return fallocate(fd, 0, 0, static_cast<off_t>(size)) == 0 ? 0 : errno;
}

int AtomicFileWriter::MakeTemporaryFile(std::string& pattern) {
    return mkstemp(pattern.data());
}

namespace {
// A file the user may not write is never replaced: renaming over it would only need the
// folder's permission. A file without any write bit counts as read-only for everyone, root too.
bool MayWrite(const std::string& target, const struct stat& st) {
    return (st.st_mode & 0222) != 0 && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}
} // namespace

bool AtomicFileWriter::WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        long n = WriteChunk(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Takes the space of a file grown from `from` to `to` bytes by writing zeros after its end and
// flushing them (a network file system may report a full disk only then); a refusal puts the
// old length back, so the old content is untouched either way.
bool AtomicFileWriter::ExtendTo(int fd, long from, long to) {
    if (to <= from)
        return true;
    const bool ok = lseek(fd, static_cast<off_t>(from), SEEK_SET) == static_cast<off_t>(from) &&
                    WriteAll(fd, std::string(static_cast<size_t>(to - from), '\0')) &&
                    fsync(fd) == 0;
    if (!ok && ftruncate(fd, static_cast<off_t>(from)) != 0)
        return false; // zeros are left after the old content, which is whole still
    return ok;
}

// The folder refuses new files, but the file itself may be written: the user asked for the
// change and could make it by hand, so the file is rewritten where it is. This one road gives up
// the atomic replace, as there is nowhere to put the new content first; instead the space for
// the new content is reserved before a byte changes, so a full disk refuses the write while the
// old content is still whole. Only then is it written over and cut to its new length.
bool AtomicFileWriter::WriteInPlace(const std::string& target, const std::string& bytes) {
    const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && !bytes.empty()) {
        const long size = static_cast<long>(bytes.size());
        const int reserved = ReserveSpace(fd, size);
        // A file system that cannot reserve ahead (ext2, NFSv3, some FUSE mounts) gets the new
        // length written first.
        if (reserved == EOPNOTSUPP || reserved == ENOSYS || reserved == EINVAL)
            ok = ExtendTo(fd, static_cast<long>(st.st_size), size);
        else
            ok = reserved == 0;
    }
    ok = ok && lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
         ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    return ok;
}

bool AtomicFileWriter::Replace(const std::string& nativePath, const std::string& bytes) {
    // Replace the file a symbolic link points at, not the link itself.
    std::string target = nativePath;
    char resolved[PATH_MAX];
    struct stat linkInfo;
    if (lstat(nativePath.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) &&
        realpath(nativePath.c_str(), resolved))
        target = resolved;

    mode_t mode = 0644;
    struct stat st;
    bool existed = stat(target.c_str(), &st) == 0;
    if (existed) {
        if (!S_ISREG(st.st_mode) || !MayWrite(target, st))
            return false;
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = (folder.empty() ? "" : folder) + "/." + name + ".XXXXXX";
    int fd = MakeTemporaryFile(temp);
    if (fd < 0) {
        const bool folderRefuses = errno == EACCES || errno == EPERM;
        return existed && folderRefuses && WriteInPlace(target, bytes);
    }

    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

namespace {
template <typename ReadChunk>
std::optional<std::string> ReadAll(const std::string& nativePath, size_t maxBytes,
                                   ReadChunk readChunk) {
    const int fd = OpenRegularFile(nativePath);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        close(fd);
        return std::nullopt;
    }
    std::string out;
    char buffer[65536];
    bool failed = false;
    for (;;) {
        const long n = readChunk(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failed = true;
        if (n <= 0)
            break;
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    // A file that ends before its size was cut short while it was read.
    if (failed || out.size() < static_cast<size_t>(st.st_size))
        return std::nullopt;
    return out;
}
} // namespace

long AtomicFileWriter::ReadChunk(int fd, char* data, size_t size) {
    return static_cast<long>(::read(fd, data, size));
}

std::optional<std::string> AtomicFileWriter::Read(const std::string& nativePath) {
    return ReadAll(nativePath, SIZE_MAX,
                   [this](int fd, char* data, size_t size) { return ReadChunk(fd, data, size); });
}

std::optional<std::string> ReadWholeFile(const std::string& nativePath, size_t maxBytes) {
    return ReadAll(nativePath, maxBytes, [](int fd, char* data, size_t size) {
        return static_cast<long>(::read(fd, data, size));
    });
}
