#include "processlaunch.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace loomscope {

namespace {

std::vector<char*> argumentPointers(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        pointers.push_back(const_cast<char*>(a.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

pid_t waitFor(pid_t pid, int* status)
{
    pid_t r;
    do
        r = ::waitpid(pid, status, 0);
    while (r < 0 && errno == EINTR);
    return r;
}

} // namespace

bool isExecutableFile(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> findProgram(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? std::optional(name) : std::nullopt;
    const char* path = std::getenv("PATH");
    const std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        // Only whole paths: an empty or relative entry ("", ".") names the working folder,
        // and a program of that name lying beside a design must never be the one started.
        const std::string folder = folders.substr(start, end - start);
        start = end + 1;
        if (folder.empty() || folder[0] != '/')
            continue;
        const std::string candidate = folder + (folder.back() == '/' ? "" : "/") + name;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::string startDetached(const std::vector<std::string>& argv, const std::string& workingFolder)
{
    if (argv.empty())
        return "no program";
    // Everything the children use is made before fork: after it, in a process that had other
    // threads, only async-signal-safe calls are allowed.
    std::vector<char*> args = argumentPointers(argv);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return std::strerror(errno);
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int err = errno;
        ::close(report[0]);
        ::close(report[1]);
        return std::strerror(err);
    }
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t child = ::fork();
        if (child != 0) {
            if (child < 0) {
                const int err = errno;
                [[maybe_unused]] auto n = ::write(report[1], &err, sizeof err);
            }
            ::_exit(0);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        // The program gets the standard three descriptors and nothing else of this process.
        const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (null > STDIN_FILENO)
            ::dup2(null, STDIN_FILENO); // the copy is not closed on exec
        else if (null == STDIN_FILENO)
            ::fcntl(STDIN_FILENO, F_SETFD, 0); // this process had no standard input
        if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
            // Kernels before 5.11: every descriptor there can be, one by one.
            const long most = ::sysconf(_SC_OPEN_MAX);
            for (int fd = 3; fd < (most > 0 ? most : 1024); ++fd)
                ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        // Starting in another folder is better than not starting at all.
        if (!workingFolder.empty()) {
            [[maybe_unused]] const int ignored = ::chdir(workingFolder.c_str());
        }
        ::execve(args[0], args.data(), environ);
        const int err = errno;
        [[maybe_unused]] auto n = ::write(report[1], &err, sizeof err);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    waitFor(middle, &status);
    int err = 0;
    ssize_t got;
    do
        got = ::read(report[0], &err, sizeof err);
    while (got < 0 && errno == EINTR);
    ::close(report[0]);
    // The pipe closes unread when execve succeeds (close-on-exec); an error number means the
    // program never ran.
    if (got == static_cast<ssize_t>(sizeof err))
        return std::strerror(err);
    return {};
}

int runAndWait(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return -1;
    std::vector<char*> args = argumentPointers(argv);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0)
        return -1;
    int status = 0;
    if (waitFor(pid, &status) < 0 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string openWithDesktop(const std::string& pathOrUrl)
{
    const auto opener = findProgram("xdg-open");
    if (!opener)
        return "xdg-open (the desktop's way to open files) is not installed";
    return startDetached({*opener, pathOrUrl});
}

} // namespace loomscope
