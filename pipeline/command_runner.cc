#include "pipeline/command_runner.h"

#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "settings/report.h"
#include "pipeline/unique_fd.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): the tools get the driver's environment

namespace {

constexpr const char* kTraceRule = "-------------------------------------------------------";
constexpr const char* kShell = "/bin/sh";
constexpr int kStopSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};

// The kernel refuses a single argument string longer than 32 pages
// (MAX_ARG_STRLEN, 128 KiB), so "sh -c <line>" cannot carry such a line.
constexpr size_t kLongestInlineCommand = size_t{100} * 1024;

// What the handler shares with the run: written by the handler, read and
// let go by the runner. Lock-free atomics are safe in a signal handler.
std::atomic<int> stopSignal{0};
std::atomic<pid_t> toolGroup{0};  // the process group of the tool that runs, else 0
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<pid_t>::is_always_lock_free);

bool leftToTheTool(int signal) { return signal == SIGINT || signal == SIGQUIT; }

// A SIGTERM or SIGHUP outranks a SIGINT or SIGQUIT the tool may still let go.
extern "C" void onStopSignal(int signal) {
  const int savedErrno = errno;
  if (const int held = stopSignal.load(); held == 0 || leftToTheTool(held)) {
    stopSignal.store(signal);
  }
  if (const pid_t group = toolGroup.load(); group > 0) {
    kill(-group, signal);
  }
  errno = savedErrno;
}

sigset_t stopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kStopSignals) {
    sigaddset(&set, signal);
  }
  return set;
}

// Holds the stop signals back while it lives; those that come meanwhile are
// handled when it goes.
struct StopSignalsHeld {
  sigset_t before{};
  StopSignalsHeld() {
    const sigset_t set = stopSignalSet();
    sigprocmask(SIG_BLOCK, &set, &before);
  }
  ~StopSignalsHeld() { sigprocmask(SIG_SETMASK, &before, nullptr); }
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
};

// Starts /bin/sh in a process group of its own with the signal mask the
// driver had, and records the group for the handler before any stop signal
// can come in. 0 and the shell's pid, or the status of a shell that never ran.
int startShell(char* const argv[], pid_t& pid) {
  const StopSignalsHeld held;
  if (const int signal = stopSignal.load(); signal != 0) {
    return signal;  // as a shell killed by it: no tool starts after a stop
  }
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setsigmask(&attributes, &held.before);
  const int failed = posix_spawn(&pid, kShell, nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) {
    return 127 << 8;  // what system() gives when no shell could run
  }
  toolGroup.store(pid);
  return 0;
}

// Waits for the shell without reaping it, so its pid (the group's id) stays
// taken while the handler may still signal the group; then reaps it.
int waitForShell(pid_t pid) {
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
  int status = -1;
  const StopSignalsHeld held;
  toolGroup.store(0);
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// Runs the shell with `argv` and returns its wait status. An interactive stop
// signal is let go when the tool did not die of it: the tool handled it.
int runShell(char* const argv[]) {
  pid_t pid = 0;
  if (const int notStarted = startShell(argv, pid); notStarted != 0) {
    return notStarted;
  }
  const int status = waitForShell(pid);
  int signal = stopSignal.load();
  if (leftToTheTool(signal) && !(WIFSIGNALED(status) && WTERMSIG(status) == signal)) {
    stopSignal.compare_exchange_strong(signal, 0);
  }
  return status;
}

// A line too long for one argument: /bin/sh reads it from an anonymous file,
// which goes with the last descriptor, whatever ends the run.
int runThroughAnonymousFile(const std::string& commandLine) {
  const UniqueFd script(memfd_create("talvo_s command line", 0));
  if (!script || !writeAll(script.fd, commandLine + "\n")) {
    std::printf(">>> A command line too long for one argument cannot be handed to the shell: %s.\n",
                std::strerror(errno));
    std::fflush(stdout);
    return 127 << 8;
  }
  std::string path = "/dev/fd/" + std::to_string(script.fd);
  char name[] = "sh";
  char* const argv[] = {name, path.data(), nullptr};
  return runShell(argv);
}

}  // namespace

int runInShell(const std::string& commandLine) {
  if (commandLine.size() > kLongestInlineCommand) {
    return runThroughAnonymousFile(commandLine);
  }
  std::string line = commandLine;
  char name[] = "sh";
  char dashC[] = "-c";
  char endOfOptions[] = "--";
  char* const argv[] = {name, dashC, endOfOptions, line.data(), nullptr};
  return runShell(argv);
}

int runCommand(const RunSettings& rs, const std::string& commandLine, const CommandRunner& runner) {
  if (rs.traceCommands == 1) {
    std::string when = asctimeNow();
    std::printf("%s\ncmd start:%s=>%s\n%s\n", kTraceRule, when.c_str(), commandLine.c_str(), kTraceRule);
    std::fflush(stdout);
  }
  return runner(commandLine);
}

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  action.sa_mask = stopSignalSet();  // one handler at a time
  action.sa_flags = SA_RESTART;      // the run's own reads and writes go on whole
  for (int signal : kStopSignals) {
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
      sigaction(signal, &action, nullptr);  // one ignored by the caller stays ignored, for the tools too
    }
  }
}

int pendingStopSignal() { return stopSignal.load(); }

void endByStopSignal(int signal) {
  std::fflush(stdout);
  std::signal(signal, SIG_DFL);
  if (signal == SIGQUIT) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
  }
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal);
  _exit(128 + signal);
}
