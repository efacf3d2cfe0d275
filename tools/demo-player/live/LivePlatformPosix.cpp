// Live code on POSIX systems: dlopen for part modules, fork for trials, signals and a
// thread CPU-time timer for guarded calls, posix_spawn for builds.
#include "LivePlatform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <setjmp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace live {

std::string unavailableReason() { return ""; }

struct Module {
    void* handle;
};

namespace {

bool copyFile(const std::string& from, int toFd) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(toFd, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return ::close(in), false;
            done += put;
        }
    }
    ::close(in);
    return ok;
}

std::string signalText(int signal) {
    const char* name = sigabbrev_np(signal);
    const char* text = strsignal(signal);
    return std::string("SIG") + (name ? name : std::to_string(signal)) + " (" + (text ? text : "signal") + ")";
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

}  // namespace

Module* loadModule(const std::string& path, std::string& error) {
    // The loader keeps one copy per file name, so every load gets a name of its own; the
    // copy is removed at once, its mapping stays.
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/demo-player-part-XXXXXX.so";
    const int fd = ::mkstemps(name.data(), 3);
    if (fd < 0) {
        error = "cannot make a copy of " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    const bool copied = copyFile(path, fd);
    ::close(fd);
    if (!copied) {
        ::unlink(name.c_str());
        error = "cannot read " + path;
        return nullptr;
    }
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    ::unlink(name.c_str());
    if (!handle) {
        const char* why = ::dlerror();
        error = why ? why : "cannot load " + path;
        return nullptr;
    }
    return new Module{handle};
}

void* moduleSymbol(Module* module, const char* name) { return module ? ::dlsym(module->handle, name) : nullptr; }

void unloadModule(Module* module) {
    if (!module) return;
    ::dlclose(module->handle);
    delete module;
}

std::string fileStamp(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return "";
    return std::to_string(info.st_size) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec) + "#" + std::to_string(info.st_ino);
}

Command::~Command() {
    if (pid > 0) {
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        ::waitpid(static_cast<pid_t>(pid), nullptr, 0);
    }
    if (outputFd >= 0) ::close(outputFd);
}

bool Command::start(const std::vector<std::string>& argv, std::string& error) {
    if (pid > 0 || argv.empty()) return false;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t child = -1;
    const int failed = ::posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (failed != 0) {
        ::close(fds[0]);
        error = "cannot start " + argv[0] + ": " + std::strerror(failed);
        return false;
    }
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    if (outputFd >= 0) ::close(outputFd);
    outputFd = fds[0];
    pid = child;
    exitStatus = -1;
    return true;
}

bool Command::poll(std::string& output) {
    if (pid <= 0) return true;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(outputFd, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(got));
    // Ended only once its output is drained to the end as well.
    if (got != 0) return false;
    int status = 0;
    if (::waitpid(static_cast<pid_t>(pid), &status, WNOHANG) != static_cast<pid_t>(pid)) return false;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid = -1;
    ::close(outputFd);
    outputFd = -1;
    return true;
}

// Guarded calls. The handlers stay installed once the first guarded call is made; outside
// a guarded call they hand the signal back to what was there before.
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int kWatchdogSignal = SIGVTALRM;

struct Guard {
    sigjmp_buf jump;
    volatile sig_atomic_t active = 0;
};

thread_local Guard* activeGuard = nullptr;
struct sigaction previous[NSIG];

void onSignal(int signal, siginfo_t*, void*) {
    Guard* guard = activeGuard;
    if (guard && guard->active) {
        guard->active = 0;
        siglongjmp(guard->jump, signal);
    }
    if (signal == kWatchdogSignal) return;   // a late tick of a disarmed watchdog
    // Not ours: put back what was there and let the signal happen again under it.
    ::sigaction(signal, &previous[signal], nullptr);
    if (signal == SIGABRT) ::raise(signal);
}

void installHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // Its own stack, so that a stack overflow in guarded code can still be caught.
    static std::vector<char> altStack(1 << 16);
    stack_t stack{};
    stack.ss_sp = altStack.data();
    stack.ss_size = altStack.size();
    ::sigaltstack(&stack, nullptr);
    struct sigaction action{};
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : kFaultSignals) ::sigaction(signal, &action, &previous[signal]);
    ::sigaction(kWatchdogSignal, &action, &previous[kWatchdogSignal]);
}

// A CPU-time timer of the calling thread that raises the watchdog signal on this thread.
struct Watchdog {
    timer_t timer{};
    bool made = false;

    Watchdog() {
        sigevent event{};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = kWatchdogSignal;
        event._sigev_un._tid = static_cast<pid_t>(::syscall(SYS_gettid));
        made = ::timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &timer) == 0;
    }
    ~Watchdog() {
        if (made) ::timer_delete(timer);
    }
    void arm(double seconds) {
        if (!made) return;
        itimerspec spec{};
        spec.it_value.tv_sec = static_cast<time_t>(seconds);
        spec.it_value.tv_nsec = static_cast<long>((seconds - std::floor(seconds)) * 1e9);
        ::timer_settime(timer, 0, &spec, nullptr);
    }
    void disarm() {
        if (!made) return;
        itimerspec spec{};
        ::timer_settime(timer, 0, &spec, nullptr);
    }
};

}  // namespace

bool guardedCall(const std::function<void()>& call, double cpuLimitSeconds, std::string& reason) {
    installHandlers();
    thread_local Watchdog watchdog;
    Guard guard;
    Guard* const outer = activeGuard;
    activeGuard = &guard;
    const int caught = sigsetjmp(guard.jump, 1);
    if (caught == 0) {
        guard.active = 1;
        watchdog.arm(cpuLimitSeconds);
        call();
        watchdog.disarm();
        guard.active = 0;
    } else {
        watchdog.disarm();
    }
    activeGuard = outer;
    if (caught == 0) return true;
    reason = caught == kWatchdogSignal ? "more than " + secondsText(cpuLimitSeconds) + " s of CPU in one call"
                                       : signalText(caught);
    return false;
}

bool trialInChild(const std::vector<TrialStep>& steps, double cpuLimitSeconds, double wallLimitSeconds,
                  std::string& reason) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        reason = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        reason = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    if (child == 0) {
        // The trial's own lines would repeat the player's: they go nowhere.
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, 1);
        for (int signal : kFaultSignals) ::signal(signal, SIG_DFL);
        ::signal(SIGPROF, SIG_DFL);
        for (size_t i = 0; i < steps.size(); i++) {
            const unsigned char index = static_cast<unsigned char>(i);
            if (::write(fds[1], &index, 1) != 1) ::_exit(3);
            itimerval limit{};
            limit.it_value.tv_sec = static_cast<time_t>(cpuLimitSeconds);
            limit.it_value.tv_usec = static_cast<suseconds_t>((cpuLimitSeconds - std::floor(cpuLimitSeconds)) * 1e6);
            ::setitimer(ITIMER_PROF, &limit, nullptr);   // SIGPROF ends the child
            steps[i].second();
        }
        const unsigned char done = 0xFF;
        ::_exit(::write(fds[1], &done, 1) == 1 ? 0 : 3);
    }
    ::close(fds[1]);
    int step = -1;
    bool finished = false, timedOut = false;
    for (;;) {
        pollfd wait{fds[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(wallLimitSeconds * 1000.0));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        unsigned char index = 0;
        const ssize_t got = ::read(fds[0], &index, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (index == 0xFF) finished = true;
        else step = index;
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (finished && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    const std::string where = step >= 0 && step < static_cast<int>(steps.size()) ? steps[step].first : "start";
    if (timedOut) reason = where + ": more than " + secondsText(wallLimitSeconds) + " s";
    else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGPROF)
        reason = where + ": more than " + secondsText(cpuLimitSeconds) + " s of CPU in one call";
    else if (WIFSIGNALED(status)) reason = where + ": " + signalText(WTERMSIG(status));
    else reason = where + ": the trial ended with status " + std::to_string(WEXITSTATUS(status));
    return false;
}

}  // namespace live
