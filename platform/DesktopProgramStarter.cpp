#include "platform/DesktopProgramStarter.h"

#include "platform/CommandLineSplit.h"
#include "platform/Paths.h"

#include <QDesktopServices>
#include <QUrl>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

struct DesktopProgramStarter::Child {
    pid_t pid = 0;
    bool reaper = false; // a thread of its own waits for it
    std::atomic<bool> ended{false};
    std::atomic<int> status{0};
};

namespace {

// A plan's command as a shell would take it back, for the head of the log.
std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Makes the missing folders of path's folder, private to the user as the XDG rules ask.
void MakeParentFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
}

// The log, made anew (a game still running from an earlier start keeps writing into the old
// one, not this), headed by what is started. -1 when it cannot be made.
int OpenOutputLog(const std::string& path, const LaunchPlan& plan) {
    if (path.empty())
        return -1;
    MakeParentFolders(path);
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    std::string head = "Command:";
    for (const std::string& part : plan.command)
        head += " " + Quoted(part);
    head += "\nWorking folder: " + plan.workingFolder + "\nEnvironment added:\n";
    for (const auto& [name, value] : plan.environment)
        head += "  " + name + "=" + Quoted(value) + "\n";
    for (const std::string& name : plan.unset)
        head += "  (removed) " + name + "\n";
    head += "Output:\n";
    for (size_t done = 0; done < head.size();) {
        const ssize_t n = write(fd, head.data() + done, head.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return fd;
}

// The utility's environment with the plan's changes; a later setting of a name wins.
std::vector<std::string> PlannedEnvironment(const LaunchPlan& plan) {
    auto changed = [&plan](const std::string& entry) {
        for (const auto& [name, value] : plan.environment)
            if (entry.compare(0, name.size() + 1, name + "=") == 0)
                return true;
        for (const std::string& name : plan.unset)
            if (entry.compare(0, name.size() + 1, name + "=") == 0)
                return true;
        return false;
    };
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e)
        if (!changed(*e))
            entries.emplace_back(*e);
    for (size_t i = 0; i < plan.environment.size(); ++i) {
        const std::string& name = plan.environment[i].first;
        bool later = false;
        for (size_t j = i + 1; j < plan.environment.size(); ++j)
            later = later || plan.environment[j].first == name;
        if (!later)
            entries.push_back(name + "=" + plan.environment[i].second);
    }
    return entries;
}

} // namespace

std::string DefaultOutputLog() {
    return XdgBaseFolder("XDG_STATE_HOME", "/.local/state") + "/zeltasc/game.log";
}

DesktopProgramStarter::DesktopProgramStarter(const LaunchPlanner* planner, std::string outputLog)
    : planner_(planner), outputLog_(std::move(outputLog)) {}

DesktopProgramStarter::~DesktopProgramStarter() = default;

std::string DesktopProgramStarter::Start(const std::string& program, const std::string& arguments,
                                         const std::string& folder) {
    const std::string native = NativePath(program);
    struct stat st;
    if (stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return "The program file does not exist.";
    const std::vector<std::string> argumentList = SplitCommandLineArguments(arguments);
    const std::string workingFolder = NativePath(folder);
    const LaunchPlan plan = planner_ ? planner_->Plan(native, argumentList, workingFolder)
                                     : NativeProgramPlan(native, argumentList, workingFolder);
    if (!plan.failure.empty())
        return plan.failure;
    return Execute(plan);
}

std::string DesktopProgramStarter::Execute(const LaunchPlan& plan) {
    if (plan.command.empty())
        return "Nothing to start.";
    // Everything the child needs is prepared before fork, so the child only calls async-safe
    // functions. The child runs the program in a session of its own and stays our child, so its
    // end and status can be told; an exec failure comes back through the pipe.
    std::vector<std::string> argv = plan.command;
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    std::vector<std::string> envText = PlannedEnvironment(plan);
    std::vector<char*> envp;
    for (std::string& e : envText)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string workingFolder = plan.workingFolder.empty() ? "." : plan.workingFolder;

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return std::strerror(errno);
    const int log = OpenOutputLog(outputLog_, plan);
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        if (log >= 0)
            close(log);
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
            if (log >= 0) {
                dup2(log, STDOUT_FILENO);
                dup2(log, STDERR_FILENO);
            }
            execve(args[0], args.data(), envp.data());
            error = errno;
        }
        (void)!write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    if (log >= 0)
        close(log);
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

    // A thread of its own reaps the program the moment it ends, so a finished game never lingers
    // as a zombie, however long the utility runs on; it shares only this record.
    auto record = std::make_shared<Child>();
    record->pid = child;
    try {
        std::thread([record] {
            int status = 0;
            pid_t done;
            do {
                done = waitpid(record->pid, &status, 0);
            } while (done < 0 && errno == EINTR);
            record->status = done == record->pid ? status : 0;
            record->ended = true;
        }).detach();
        record->reaper = true;
    } catch (const std::system_error&) {
        // No thread: reaped when asked (StartedProgramRuns) instead.
    }
    started_ = std::move(record);
    return {};
}

bool DesktopProgramStarter::StartedProgramRuns() {
    if (!started_)
        return false;
    if (!started_->reaper && !started_->ended) {
        int status = 0;
        pid_t done;
        do {
            done = waitpid(started_->pid, &status, WNOHANG);
        } while (done < 0 && errno == EINTR);
        if (done != 0) {
            started_->status = done == started_->pid ? status : 0;
            started_->ended = true;
        }
    }
    return !started_->ended;
}

std::optional<int> DesktopProgramStarter::StartedProgramStatus() {
    if (!started_ || StartedProgramRuns())
        return std::nullopt;
    return started_->status.load();
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
