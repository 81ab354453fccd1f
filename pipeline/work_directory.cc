#include "pipeline/work_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

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

}  // namespace

UniqueFd lockProjectDirectory() {
  UniqueFd project(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!project) {
    return project;
  }
  if (flock(project.fd, LOCK_EX | LOCK_NB) == 0) {
    return project;
  }
  if (errno != EWOULDBLOCK) {
    return UniqueFd();
  }
  std::puts(">>> Waiting for another run in this directory to end.");
  std::fflush(stdout);
  int status;
  do {
    status = flock(project.fd, LOCK_EX);
  } while (status != 0 && errno == EINTR);
  return status == 0 ? std::move(project) : UniqueFd();
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
