#include "platform/DesktopProgramStarter.h"

#include "platform/CommandLineSplit.h"
#include "platform/Paths.h"
#include "platform/RegularFile.h"
#include "wine/GamePrefixes.h"
#include "wine/WineCommand.h"

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

} // namespace

DesktopProgramStarter::DesktopProgramStarter(std::string startFolder, const GamePrefixes* prefixes)
    : startFolder_(std::move(startFolder)), prefixes_(prefixes) {}

std::string DesktopProgramStarter::Start(const std::string& program, const std::string& arguments,
                                         const std::string& folder) {
    const std::string native = NativePath(program);
    struct stat st;
    if (stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return "The program file does not exist.";

    std::vector<std::string> argv;
    std::vector<std::pair<std::string, std::string>> environment;
    if (IsWindowsProgram(native)) {
        FoundPrefix plain;
        plain.folder = WinePrefix();
        WineCommand wine = BuildWineCommand(prefixes_ ? prefixes_->Current() : plain, startFolder_);
        if (!wine.failure.empty())
            return wine.failure;
        argv = std::move(wine.before);
        argv.push_back(native);
        environment = std::move(wine.environment);
    } else {
        if (access(native.c_str(), X_OK) != 0)
            return "The program file is not executable.";
        argv = {native};
    }
    for (std::string& argument : SplitCommandLineArguments(arguments))
        argv.push_back(std::move(argument));
    const std::string workingFolder = NativePath(folder);

    // Everything the child needs is prepared before fork, so the child only calls async-safe
    // functions. The child runs the program in a session of its own and stays our child, so
    // StartedProgramRuns can tell when it ends; an exec failure comes back through the pipe.
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& [name, value] : environment)
            replaced = replaced || entry.rfind(name + "=", 0) == 0;
        if (!replaced)
            envText.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        envText.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : envText)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    StartedProgramRuns(); // reaps the previous game if it has ended

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
            execve(args[0], args.data(), envp.data());
            error = errno;
        }
        (void)!write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return std::strerror(error);
    }
    started_ = child;
    return {};
}

bool DesktopProgramStarter::StartedProgramRuns() {
    if (started_ <= 0)
        return false;
    int status = 0;
    pid_t done;
    do {
        done = waitpid(started_, &status, WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done == 0)
        return true;
    started_ = 0; // ended and reaped (or not ours to wait for)
    return false;
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
