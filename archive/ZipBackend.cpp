#include "archive/ZipBackend.h"

#include "platform/RegularFile.h"
#include "platform/ScuError.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A fault inside the library, reported as the component always reported its libraries' faults.
[[noreturn]] void LibraryFault() {
    throw ScuError("Fatal DLL Error: abort exception");
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

bool IsLink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    if (system != ZIP_OPSYS_UNIX)
        return false;
    return ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

bool WriteAll(int fd, const char* data, zip_int64_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Streams one entry into a new temporary file beside the target and renames it over the target;
// rename replaces a link itself instead of writing through it. An entry the library cannot read
// whole (bad data, wrong CRC, unknown method) is skipped: nothing is written for it, and false
// is returned.
bool ExtractEntry(zip_t* archive, zip_uint64_t index, const std::string& target,
                  std::uint64_t& budget, const ExtractRules& rules) {
    std::unique_ptr<zip_file_t, ZipFileCloser> entry(zip_fopen_index(archive, index, 0));
    if (!entry)
        return false;
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        throw ScuError("Unable to write to " + target);
    bool ok = true;
    bool tooLarge = false;
    char buffer[65536];
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), buffer, sizeof buffer);
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (static_cast<std::uint64_t>(got) > budget) {
            tooLarge = true;
            break;
        }
        budget -= static_cast<std::uint64_t>(got);
        if (!WriteAll(fd, buffer, got)) {
            close(fd);
            unlink(temporary.c_str());
            throw ScuError("Unable to write to " + target);
        }
    }
    const bool closed = close(fd) == 0;
    if (tooLarge) {
        unlink(temporary.c_str());
        throw ScuError(rules.sizeLimitMessage);
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    if (!closed || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        throw ScuError("Unable to write to " + target);
    }
    return true;
}

} // namespace

std::string EntryFileName(const std::string& entryName) {
    const size_t separator = entryName.find_last_of("/\\");
    return separator == std::string::npos ? entryName : entryName.substr(separator + 1);
}

int PackIntoArchive(const std::string& nativeArchive, const std::vector<std::string>& nativeFiles,
                    int level) {
    int error = 0;
    ZipHandle archive(zip_open(nativeArchive.c_str(), ZIP_CREATE, &error));
    if (!archive) // an existing file the library cannot take as an archive to add to
        throw ScuError("Unable to write to " + nativeArchive);
    int packed = 0;
    for (const std::string& file : nativeFiles) {
        struct stat st;
        if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        zip_source_t* source = zip_source_file(archive.get(), file.c_str(), 0, -1);
        if (!source)
            LibraryFault();
        const std::string name = EntryFileName(file);
        const zip_int64_t index =
            zip_file_add(archive.get(), name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
        if (index < 0) {
            zip_source_free(source);
            LibraryFault();
        }
        if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index),
                                     ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(level)) != 0)
            LibraryFault();
        ++packed;
    }
    if (packed == 0)
        return 0;
    if (zip_close(archive.get()) != 0)
        throw ScuError("Unable to write to " + nativeArchive);
    archive.release();
    return packed;
}

int ExtractFromArchive(const std::string& nativeArchive, const std::string& nativeFolder,
                       const ExtractRules& rules) {
    // An archive the library cannot open is no fault inside it: nothing is processed, and the
    // caller's own checks tell what is missing.
    // What is no regular file (a FIFO that would wait for a writer, a device) is refused at once.
    const int fd = OpenRegularFile(nativeArchive);
    if (fd < 0)
        return 0;
    int error = 0;
    ZipHandle archive(zip_fdopen(fd, 0, &error));
    if (!archive) {
        close(fd); // the library takes the descriptor only when it opens the archive
        return 0;
    }

    struct Wanted {
        zip_uint64_t index;
        std::string fileName;
    };
    std::vector<Wanted> wanted;
    std::uint64_t total = 0;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        if (zip_stat_index(archive.get(), index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const std::string name = st.name;
        if (std::find(rules.names.begin(), rules.names.end(), name) == rules.names.end())
            continue;
        const std::string fileName = EntryFileName(name);
        if (fileName.empty() || fileName == "." || fileName == ".." || name.back() == '/' ||
            IsLink(archive.get(), index))
            continue;
        if (rules.allowed && !rules.allowed(fileName))
            continue;
        // Saturating: two huge declared sizes must not wrap round to a small total.
        if (st.valid & ZIP_STAT_SIZE)
            total = st.size > UINT64_MAX - total ? UINT64_MAX : total + st.size;
        wanted.push_back({index, fileName});
    }
    // Refuse before anything is written when the declared sizes are already too large; the
    // written bytes are counted too, since a declared size can lie.
    if (total > rules.sizeLimit)
        throw ScuError(rules.sizeLimitMessage);
    std::uint64_t budget = rules.sizeLimit;
    int written = 0;
    for (const Wanted& entry : wanted) {
        if (ExtractEntry(archive.get(), entry.index, nativeFolder + "/" + entry.fileName, budget,
                         rules))
            ++written;
    }
    return written;
}
