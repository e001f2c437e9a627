#include "player/TraceFile.h"

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ProgramBaseName() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "zeltasc";
    return exe.stem().string();
}

} // namespace

std::string TraceFilePath() {
    std::string folder = "/tmp";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
        folder = tmp;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + ProgramBaseName() + ".txt";
}

void TraceMessage(const std::string& className, const std::string& fileName,
                  const std::string& message) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    const std::string line =
        std::string(stamp) + " - " + className + " (" + fileName + ") > " + message + "\n";

    // Non-blocking, so that a FIFO or device placed under the name by someone else cannot stall
    // the player; the line goes only into a regular file of the user's own with no other name (a
    // hard link to another of the user's files would otherwise take the lines).
    const int fd =
        ::open(TraceFilePath().c_str(),
               O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        info.st_nlink == 1) {
        [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
    }
    ::close(fd);
}
