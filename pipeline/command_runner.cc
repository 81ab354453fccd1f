#include "pipeline/command_runner.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "pipeline/unique_fd.h"
#include "settings/report.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): the tools get the driver's environment

namespace {

constexpr const char* kTraceRule = "-------------------------------------------------------";
constexpr const char* kShell = "/bin/sh";
constexpr int kStopSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
constexpr int kJobControlStops[] = {SIGTSTP, SIGTTIN, SIGTTOU};

// The kernel refuses a single argument string longer than 32 pages
// (MAX_ARG_STRLEN, 128 KiB), so "sh -c <line>" cannot carry such a line.
constexpr size_t kLongestInlineCommand = size_t{100} * 1024;

// What the run knows of the stop signals. Signals belong to the process, so
// this does too. Caught signals stay blocked from catchStopSignals() on: the
// runner takes them with sigwaitinfo while a tool runs, and between tools they
// wait to be taken, so no handler ever runs in the middle of the run's work.
struct StopSignalState {
  sigset_t caught{};    // the stop signals the run catches
  sigset_t toolMask{};  // the mask the run began with, which every tool gets
  bool prepared = false;
  int pending = 0;  // the signal the run ends by, or 0
};

StopSignalState& stopSignals() {
  static StopSignalState state = [] {
    StopSignalState fresh;
    sigemptyset(&fresh.caught);
    sigemptyset(&fresh.toolMask);
    return fresh;
  }();
  return state;
}

bool leftToTheTool(int signal) { return signal == SIGINT || signal == SIGQUIT; }

// Prints the runner's own line for a failed call (errno tells why); gives
// the status of a line that did not run.
int failure(const char* what) {
  std::printf(">>> %s: %s.\n", what, std::strerror(errno));
  std::fflush(stdout);
  return -1;
}

// The processes of the run that still live, read from /proc: the driver's
// children, theirs, and so on. Empty where /proc cannot tell.
std::vector<pid_t> processesOfTheRun() {
  std::vector<pid_t> found;
  std::vector<pid_t> parents{getpid()};
  while (!parents.empty()) {
    const std::string tasks = "/proc/" + std::to_string(parents.back()) + "/task";
    parents.pop_back();
    DIR* dir = opendir(tasks.c_str());
    if (dir == nullptr) {
      continue;
    }
    while (const dirent* task = readdir(dir)) {
      if (task->d_name[0] == '.') {
        continue;
      }
      std::ifstream children(tasks + "/" + task->d_name + "/children");
      for (pid_t child = 0; children >> child;) {
        found.push_back(child);
        parents.push_back(child);
      }
    }
    closedir(dir);
  }
  return found;
}

// Remembers a stop signal (SIGTERM or SIGHUP outranks a SIGINT or SIGQUIT
// the tool may still let go) and passes it on to every process of the run,
// unless the terminal or the run itself sent it: they have it already.
void takeStopSignal(const siginfo_t& info, pid_t shell) {
  StopSignalState& state = stopSignals();
  if (state.pending == 0 || leftToTheTool(state.pending)) {
    state.pending = info.si_signo;
  }
  if (info.si_code == SI_KERNEL) {
    return;  // the terminal's, sent to the whole foreground job
  }
  std::vector<pid_t> run = processesOfTheRun();
  if (run.empty() && shell > 0) {
    run.push_back(shell);  // without /proc, the shell is all the runner knows
  }
  for (pid_t pid : run) {
    if (pid == info.si_pid) {
      return;  // sent by a process of the run: to itself, or to the group
    }
  }
  for (pid_t pid : run) {
    kill(pid, info.si_signo);
  }
}

// Takes the stop signals that came since they were last taken.
void takeArrivedStopSignals() {
  StopSignalState& state = stopSignals();
  const timespec now{};
  siginfo_t info{};
  while (sigtimedwait(&state.caught, &info, &now) > 0) {
    takeStopSignal(info, 0);
  }
}

// A shell stopped by job control (Ctrl-Z, or the terminal refusing a tool
// that is in the background) stops the driver by the same signal, so its job
// shows as stopped, not as a hang; "fg" or "bg" continues the whole group.
void followStop(int signal) {
  for (int stop : kJobControlStops) {
    if (stop == signal) {
      kill(getpid(), signal);
    }
  }
}

// Waits until the shell has ended and, once a stop signal has come, until no
// process of the run is left; passes on the stop signals that come meanwhile.
// The shell's status, or -1 (line printed) when it cannot be waited for.
// Without a shell (no line starts after a stop) the status is that of a
// shell killed by the signal, once the processes left have ended.
int waitForToolLine(pid_t shell, const sigset_t& waitSet) {
  StopSignalState& state = stopSignals();
  std::optional<int> shellStatus;
  if (shell == 0) {
    shellStatus = state.pending;
  }
  for (;;) {
    int status = 0;
    pid_t changed = 0;
    while ((changed = waitpid(-1, &status, WNOHANG | WUNTRACED)) > 0) {
      if (changed != shell) {
        continue;  // a process a tool line left behind, ended and reaped
      }
      if (WIFSTOPPED(status)) {
        followStop(WSTOPSIG(status));
        continue;
      }
      shellStatus = status;
      takeArrivedStopSignals();  // a signal the terminal sent the shell came here too
      if (leftToTheTool(state.pending) && !(WIFSIGNALED(status) && WTERMSIG(status) == state.pending)) {
        state.pending = 0;  // the tool handled it
      }
    }
    if (changed < 0 && errno != ECHILD) {
      return failure("/bin/sh cannot be waited for");
    }
    const bool processesLeft = changed == 0;
    if (shellStatus && (state.pending == 0 || !processesLeft)) {
      return *shellStatus;
    }
    if (!shellStatus && !processesLeft) {
      return failure("/bin/sh cannot be waited for");  // gone unseen
    }
    siginfo_t info{};
    const int signal = sigwaitinfo(&waitSet, &info);  // a SIGCHLD stays pending until taken: none is missed
    if (signal < 0 && errno != EINTR) {
      return failure("/bin/sh cannot be waited for");
    }
    if (signal > 0 && signal != SIGCHLD) {
      takeStopSignal(info, shellStatus ? 0 : shell);
    }
  }
}

// Holds SIGCHLD and the caught stop signals back while it lives, so that the
// runner takes them with sigwaitinfo.
struct SignalsHeld {
  sigset_t set;
  sigset_t before{};
  bool held = false;
  SignalsHeld() : set(stopSignals().caught) {
    held = sigaddset(&set, SIGCHLD) == 0 && sigprocmask(SIG_BLOCK, &set, &before) == 0;
  }
  ~SignalsHeld() {
    if (held) {
      sigprocmask(SIG_SETMASK, &before, nullptr);
    }
  }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;
};

// Starts /bin/sh with `argv` in the driver's process group and with the
// signal mask the run began with, and waits for it.
int runShell(char* const argv[]) {
  const SignalsHeld held;
  if (!held.held) {
    return failure("/bin/sh cannot be started");
  }
  takeArrivedStopSignals();
  if (stopSignals().pending != 0) {
    return waitForToolLine(0, held.set);  // no tool starts after a stop
  }
  posix_spawnattr_t attributes;
  if (const int error = posix_spawnattr_init(&attributes); error != 0) {
    errno = error;
    return failure("/bin/sh cannot be started");
  }
  const sigset_t& toolMask = stopSignals().prepared ? stopSignals().toolMask : held.before;
  pid_t shell = 0;
  int error = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  if (error == 0) {
    error = posix_spawnattr_setsigmask(&attributes, &toolMask);
  }
  if (error == 0) {
    error = posix_spawn(&shell, kShell, nullptr, &attributes, argv, environ);
  }
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    errno = error;
    return failure("/bin/sh cannot be started");
  }
  return waitForToolLine(shell, held.set);
}

// A line too long for one argument: /bin/sh reads it from an anonymous file
// of the driver's, through /proc, so the tools inherit no descriptor of it
// and nothing is left on disk, whatever ends the run.
int runThroughAnonymousFile(const std::string& commandLine) {
  const char* what = "A command line too long for one argument cannot be handed to the shell";
  const UniqueFd script(memfd_create("talvo_s command line", MFD_CLOEXEC));
  if (!script || !writeAll(script.fd, commandLine + "\n")) {
    return failure(what);
  }
  std::string path = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(script.fd);
  if (const UniqueFd readable(open(path.c_str(), O_RDONLY | O_CLOEXEC)); !readable) {
    const std::string reason = std::string(what) + ": '" + path + "' cannot be opened";
    return failure(reason.c_str());
  }
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

int catchStopSignals() {
  const char* what = "The signals of the run cannot be set up";
  // An ignored SIGCHLD, inherited from the caller, would make every wait fail.
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  if (sigemptyset(&byDefault.sa_mask) != 0 || sigaction(SIGCHLD, &byDefault, nullptr) != 0 ||
      prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
    return failure(what);
  }
  StopSignalState& state = stopSignals();
  for (int signal : kStopSignals) {
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) != 0) {
      return failure(what);
    }
    if (before.sa_handler != SIG_IGN) {
      sigaddset(&state.caught, signal);  // one ignored by the caller stays ignored, for the tools too
    }
  }
  if (sigprocmask(SIG_BLOCK, &state.caught, &state.toolMask) != 0) {
    return failure(what);
  }
  state.prepared = true;
  return 0;
}

int pendingStopSignal() {
  takeArrivedStopSignals();
  return stopSignals().pending;
}

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
