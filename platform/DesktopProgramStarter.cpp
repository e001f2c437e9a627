#include "platform/DesktopProgramStarter.h"

#include "platform/CommandLineSplit.h"
#include "platform/Paths.h"
#include "platform/RegularFile.h"

#include <QDesktopServices>
#include <QUrl>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool IsWindowsProgram(const std::string& nativePath) {
    const int fd = OpenRegularFile(nativePath); // a FIFO named like the game never blocks
    if (fd < 0)
        return false;
    char magic[2] = {};
    const bool mz = read(fd, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    close(fd);
    return mz;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        // An empty entry of PATH stands for the current folder.
        const std::string folder = end > start ? list.substr(start, end - start) : std::string(".");
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

} // namespace

std::string FindWineProgram() {
    if (const char* named = std::getenv("WINE"); named && *named) {
        const std::string wine = named;
        const std::string found = wine.find('/') != std::string::npos
                                      ? (IsExecutableFile(wine) ? wine : "")
                                      : FindOnPath(wine);
        if (!found.empty())
            return found;
    }
    return FindOnPath("wine");
}

std::string DesktopProgramStarter::Start(const std::string& program, const std::string& arguments,
                                         const std::string& folder) {
    const std::string native = NativePath(program);
    struct stat st;
    if (stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return "The program file does not exist.";

    std::vector<std::string> argv;
    if (IsWindowsProgram(native)) {
        // WINEPREFIX stays in the environment the game inherits, so it runs in the prefix
        // whose installation record was read.
        const std::string wine = FindWineProgram();
        if (wine.empty())
            return "Wine is needed to run this Windows program but was not found.";
        argv = {wine, native};
    } else {
        if (access(native.c_str(), X_OK) != 0)
            return "The program file is not executable.";
        argv = {native};
    }
    for (std::string& argument : SplitCommandLineArguments(arguments))
        argv.push_back(std::move(argument));
    const std::string workingFolder = NativePath(folder);

    // Everything the child needs is prepared before fork, so the child only calls async-safe
    // functions. The grandchild runs the program; an exec failure comes back through the pipe.
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return std::strerror(errno);
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return std::strerror(error);
    }
    if (child == 0) {
        close(report[0]);
        if (fork() != 0)
            _exit(0);
        setsid();
        int error = 0;
        if (chdir(workingFolder.c_str()) != 0) {
            error = errno;
        } else {
            const int devNull = open("/dev/null", O_RDONLY);
            if (devNull >= 0) {
                dup2(devNull, STDIN_FILENO);
                if (devNull != STDIN_FILENO)
                    close(devNull);
            }
            execv(args[0], args.data());
            error = errno;
        }
        (void)!write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return std::strerror(error);
    return {};
}

void DesktopProgramStarter::Open(const std::string& documentOrUrl) {
    const QString text = QString::fromLocal8Bit(documentOrUrl.c_str());
    QUrl url;
    if (text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        url = QUrl(text);
    else
        url = QUrl::fromLocalFile(QString::fromLocal8Bit(NativePath(documentOrUrl).c_str()));
    QDesktopServices::openUrl(url);
}
