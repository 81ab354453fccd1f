#include "pipeline/work_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "driver/report.h"
#include "pipeline/remove_tree.h"

namespace {

constexpr const char* kInputList = "./zel_work/input.lst";
constexpr mode_t kDirectoryMode = 0755;

bool isRealDirectory(const char* path) {
  struct stat info {};
  return lstat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// True when the directory holds no entry but, if given, `allowed`.
bool holdsOnly(const char* path, std::string_view allowed) {
  DIR* dir = opendir(path);
  if (dir == nullptr) {
    return false;
  }
  bool only = true;
  while (const dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != ".." && name != allowed) {
      only = false;
      break;
    }
  }
  closedir(dir);
  return only;
}

enum class ListReading { absent, read, failed };

// Reads back an earlier input list. Only a regular file is a list: a
// directory, a pipe or a device in its place, or a read that fails, is a
// failure, never a hang or an abort.
ListReading readInputList(std::vector<std::string>& names) {
  UniqueFd list(open(kInputList, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!list) {
    return errno == ENOENT ? ListReading::absent : ListReading::failed;
  }
  struct stat info {};
  if (fstat(list.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    return ListReading::failed;
  }
  std::string text;
  char block[65536];
  for (;;) {
    ssize_t got = read(list.fd, block, sizeof block);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return ListReading::failed;
    }
    if (got == 0) {
      break;
    }
    text.append(block, static_cast<size_t>(got));
  }
  names = parseInputList(text);
  return ListReading::read;
}

// Writes the list beside its place and renames it there only once it is
// whole: a full disk leaves no list, not a cut one a later "-na" would take.
bool writeInputList(const std::vector<std::string>& names) {
  std::string temporary = std::string(kWorkDirectory) + "input.lst.XXXXXX";
  UniqueFd list(mkostemp(temporary.data(), O_CLOEXEC));
  if (!list) {
    return false;
  }
  const mode_t mask = umask(0);
  umask(mask);
  bool written = fchmod(list.fd, 0666 & ~mask) == 0 && writeAll(list.fd, formatInputList(names));
  written = list.reset() == 0 && written;
  if (!written || rename(temporary.c_str(), kInputList) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

// Removes zel_work/ and creates zel_work/ and zel_work/elb/ again. 0 when
// zel_work/ then holds nothing but an empty elb/, -1 when anything is left.
int32_t resetWorkDirectory() {
  removeTree(kWorkDirectory);
  mkdir(kWorkDirectory, kDirectoryMode);
  mkdir(kElaborationDirectory, kDirectoryMode);
  const bool fresh = isRealDirectory("zel_work") && holdsOnly(kWorkDirectory, "elb") &&
                     isRealDirectory("zel_work/elb") && holdsOnly(kElaborationDirectory, "");
  return fresh ? 0 : -1;
}

int32_t pretreatmentFailed(RunSettings& rs) {
  reportError(rs, "The pretreatment is not performed.");
  return -1;
}

// Says what stands in the way, then refuses the run.
int32_t refuseBecause(RunSettings& rs, std::string_view path, std::string_view reason) {
  std::printf(">>> '%.*s' %.*s.\n", static_cast<int>(path.size()), path.data(), static_cast<int>(reason.size()),
              reason.data());
  return pretreatmentFailed(rs);
}

std::string failedTo(std::string_view what, int error) { return std::string(what) + ": " + std::strerror(error); }

// Errors by which a file system says it offers no locks at all.
bool offersNoLocks(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL; }

std::string projectName() {
  std::error_code failed;
  const std::filesystem::path here = std::filesystem::current_path(failed);
  return failed ? std::string(".") : here.string();
}

// Without "-na" the reset empties zel_work/: a file the run reads must not lie
// there (by where it really is, links and ".." resolved), or it would be lost
// before it is read. A link named zel_work is removed without being followed.
int32_t refuseInputsInsideWorkDirectory(RunSettings& rs) {
  namespace fs = std::filesystem;
  std::error_code failed;
  const fs::path project = fs::canonical(".", failed);
  if (failed || !isRealDirectory("zel_work")) {
    return 0;
  }
  const fs::path work = project / "zel_work";
  std::vector<std::string> read = rs.inputFiles;
  if (rs.ctf) {
    read.push_back(*rs.ctf);
  }
  for (const std::string& name : read) {
    const fs::path where = fs::weakly_canonical(project / name, failed);
    const auto [inWork, inWhere] = std::mismatch(work.begin(), work.end(), where.begin(), where.end());
    if (!failed && inWork == work.end() && inWhere != where.end()) {
      return refuseBecause(rs, name, "lies inside zel_work/, which the reset empties");
    }
  }
  return 0;
}

}  // namespace

int32_t lockProjectDirectory(RunSettings& rs, UniqueFd& lock) {
  // Not closed when a tool starts: every tool holds the lock as well, so it
  // lasts while any process of the run still works in zel_work/.
  UniqueFd project(open(".", O_RDONLY | O_DIRECTORY));  // NOLINT(android-cloexec-open)
  if (!project) {
    return refuseBecause(rs, projectName(), failedTo("cannot be locked", errno));
  }
  int status = flock(project.fd, LOCK_EX | LOCK_NB);
  if (status != 0 && errno == EWOULDBLOCK) {
    std::puts(">>> Waiting for another run in this directory to end.");
    std::fflush(stdout);
    do {
      status = flock(project.fd, LOCK_EX);
    } while (status != 0 && errno == EINTR);
  }
  if (status == 0) {
    lock = std::move(project);
  } else if (!offersNoLocks(errno)) {
    return refuseBecause(rs, projectName(), failedTo("cannot be locked", errno));
  }
  return 0;
}

std::string formatInputList(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    text += name;
    text += ';';
  }
  return text;
}

std::vector<std::string> parseInputList(std::string_view text) {
  std::vector<std::string> names;
  for (size_t end = text.find(';'); end != std::string_view::npos; end = text.find(';')) {
    names.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return names;
}

// Without "-na" the list is always written from the command line, on a work
// directory that holds nothing of an earlier run; with "-na" an earlier list
// that is a regular file takes the place of the command line's names.
int32_t prepareInputList(RunSettings& rs) {
  if (!rs.na) {
    if (refuseInputsInsideWorkDirectory(rs) != 0) {
      return -1;
    }
    if (resetWorkDirectory() != 0) {
      return pretreatmentFailed(rs);
    }
  } else {
    std::vector<std::string> names;
    switch (readInputList(names)) {
      case ListReading::read:
        rs.inputFiles = std::move(names);
        return 0;
      case ListReading::failed:
        return pretreatmentFailed(rs);
      case ListReading::absent:
        break;
    }
  }
  return writeInputList(rs.inputFiles) ? 0 : pretreatmentFailed(rs);
}
