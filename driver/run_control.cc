#include "driver/run_control.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "constraint/constraint.h"
#include "pipeline/pipeline.h"
#include "pipeline/work_directory.h"
#include "settings/command_line.h"
#include "settings/consistency.h"
#include "settings/report.h"

namespace {

constexpr const char* kVersionText = "1.00.00";
constexpr const char* kProductName = "Talvoware-for_c_analyzer";

void printBannerAndNotice() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::printf("%s(%s) command started... %s", kProductName, kVersionText, asctimeNow().c_str());
  std::printf("Copyright (C) %d the talvo_s developers. Provided as is, without warranty of any kind.\n\n",
              local.tm_year + 1900);
  std::fflush(stdout);
}

// The installation root must hold the standard headers; the file is not
// opened. An unset root has no path to name; a wrong one is named with the
// file looked for and the system's reason.
int checkInstallation(RunSettings& rs) {
  const char* root = std::getenv("TALVO");
  if (root == nullptr) {
    reportError(rs, "The environment variable TALVO is not set up. ");
    return -1;
  }
  std::string probe = std::string(root) + "/libtalvo/include/stdinclude/stdio.h";
  struct stat info {};
  if (stat(probe.c_str(), &info) != 0) {
    printReason(probe, "cannot be found", errno);
    reportError(rs, "An error is in the value of an environment variable TALVO. ");
    return -1;
  }
  return 0;
}

// Only the first "-ctf" names the constraint file.
int findConstraintFile(RunSettings& rs, const std::vector<std::string>& args) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "-ctf") {
      if (i + 1 == args.size()) {
        reportError(rs, "A mistake is in specification of \"-ctf <fname>\" option.");
        return -1;
      }
      rs.ctf = args[i + 1];
      return 0;
    }
  }
  return 0;
}

int readConstraints(RunSettings& rs, ConstraintStore& store) {
  const std::string& path = *rs.ctf;
  std::printf(">>> Checking constarint file ... '%s'\n", path.c_str());
  std::fflush(stdout);  // a pipe still waiting for its writer shows what the run waits for
  setConstraintMode(store, 0, 1);
  if (readConstraintFile(store, path) != 0) {
    std::printf("Reading of a file went wrong. '%s'\n", path.c_str());
    return -1;
  }
  applyConstraintOptions(store, rs);
  return 0;
}

void echoCommandLine(const std::vector<std::string>& args) {
  std::printf(">>> Checking option... %s", asctimeNow().c_str());
  std::fputc('>', stdout);
  for (size_t i = 1; i < args.size(); ++i) {
    std::fputc(' ', stdout);
    std::fwrite(args[i].data(), 1, args[i].size(), stdout);
  }
  std::fputs("\n\n", stdout);
  std::fflush(stdout);
}

void excludeConflictingTargets(RunSettings& rs) {
  if (rs.ansic && rs.algoc) {
    reportError(rs, "An ANSI-C output and an AlgorithmicC output cannot be specified simultaneously.");
  } else if (rs.ansic && rs.dsp) {
    reportError(rs, "An ANSI-C output and a DSP output cannot be specified simultaneously.");
  } else if (!rs.ansic && rs.algoc && rs.dsp) {
    reportError(rs, "An AlgorithmicC output and a DSP output cannot be specified simultaneously.");
  }
}

void printVersion() {
  std::printf("*** %s version %s ***\n\n", kProductName, kVersionText);
  std::fflush(stdout);
}

void printHelp() {
  std::fputs(
      ">>talvo_s [option(s)] C-files ...\n"
      " C-files :C-langage sorce files.\n"
      " option(s)\n"
      "   -dsp   :Checking and analyzing for DSP. (default)\n"
      "   -algoc :Checking and analyzing for AlgorithmicC.\n"
      "   --version :Displaying version information.\n"
      "   --help :Displaying help.\n"
      "\n",
      stdout);
  std::fflush(stdout);
}

// Admission: every check that may refuse the run before zel_work/ is
// touched. A run that goes on to work there leaves holding the project's lock,
// and from the lock on a stop signal lets the step under way finish whole.
int admitRun(RunSettings& rs, UniqueFd& projectLock, StopSignals stopSignals) {
  excludeConflictingTargets(rs);
  std::fflush(stdout);
  if (rs.errorCount != 0 || rs.warningCount != 0) {
    std::puts("Displaying help: `--help'.");
    return -1;
  }
  if (!rs.help && !rs.version && rs.inputFiles.empty()) {
    reportError(rs, "No input files.");
    return -1;
  }
  if (checkOptionConsistency(rs) != 0) {
    return -1;
  }
  if (!rs.inputFiles.empty()) {
    if (checkInputNames(rs) != 0 || lockProjectDirectory(rs, projectLock) != 0) {
      return -1;
    }
    if (stopSignals == StopSignals::caught && catchStopSignals() != 0) {
      reportError(rs, "The pretreatment is not performed.");
      return -1;
    }
    if (prepareInputList(rs) != 0) {
      return -1;
    }
  }
  return 0;
}

}  // namespace

int32_t switchValue(const char* value) { return (value != nullptr && value[0] == '1' && value[1] == '\0') ? 1 : 0; }

int runTalvo(const std::vector<std::string>& args, RunSettings& rs, ConstraintStore& store, const CommandRunner& runner,
             StopSignals stopSignals) {
  printBannerAndNotice();
  rs.traceCommands = switchValue(std::getenv("TVM"));
  rs.instanceDump = switchValue(std::getenv("TVPOMSK"));
  if (checkInstallation(rs) != 0 || findConstraintFile(rs, args) != 0) {
    return -1;
  }
  if (rs.ctf && readConstraints(rs, store) != 0) {
    return -1;
  }
  echoCommandLine(args);
  if (args.size() > 1) {
    parseCommandLine(rs, args);
  }
  UniqueFd projectLock;  // held to the end of the run
  if (admitRun(rs, projectLock, stopSignals) != 0) {
    return -1;
  }
  if (rs.version) {
    printVersion();
  }
  if (rs.help) {
    printHelp();
  }
  if (rs.errorCount != 0) {
    return -1;
  }
  if (rs.inputFiles.empty()) {
    return 0;
  }
  // A run stopped before its first tool ends as one stopped in the checking phase.
  const int32_t result = pendingStopSignal() != 0 ? -2 : runPipeline(rs, runner);
  releaseConstraintStore(store);
  const bool stopped = result != 0 || pendingStopSignal() != 0;
  std::printf(stopped ? "command stopped. %s\n" : "command finished successfully. %s\n", asctimeNow().c_str());
  std::fflush(stdout);
  removeTemporaryFiles(rs);
  return result;
}
