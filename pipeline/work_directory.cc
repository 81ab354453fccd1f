#include "pipeline/work_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>

#include "pipeline/remove_tree.h"
#include "settings/report.h"

namespace {

constexpr const char* kInputList = "zel_work/input.lst";
constexpr mode_t kDirectoryMode = 0755;

using Problem = std::optional<PathProblem>;

// `path`, and the reason "<what>: <the system's message for errno>".
PathProblem failed(std::string path, std::string_view what) {
  return {std::move(path), std::string(what) + ": " + std::strerror(errno)};
}

// What a file is, by whatever path it is reached: its device and inode.
struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileId&) const = default;
};

std::optional<FileId> idOf(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    return std::nullopt;
  }
  return FileId{info.st_dev, info.st_ino};
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

// Reads back an earlier input list into `names`; false when there is none.
// Only a regular file is a list: a directory, a pipe or a device in its
// place, or a read that fails, is a problem, never a hang or an abort.
bool readInputList(std::vector<std::string>& names, Problem& problem) {
  const UniqueFd list(open(kInputList, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!list) {
    if (errno != ENOENT) {
      problem = failed(kInputList, "cannot be opened");
    }
    return false;
  }
  struct stat info {};
  if (fstat(list.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    problem = PathProblem{kInputList, "is not a regular file"};
    return false;
  }
  std::string text;
  char block[65536];
  for (;;) {
    ssize_t got = read(list.fd, block, sizeof block);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      problem = failed(kInputList, "cannot be read");
      return false;
    }
    if (got == 0) {
      break;
    }
    text.append(block, static_cast<size_t>(got));
  }
  names = parseInputList(text);
  return true;
}

// Writes the list beside its place and renames it there only once it is
// whole: a full disk leaves no list, not a cut one a later "-na" would take.
Problem writeInputList(const std::vector<std::string>& names) {
  std::string temporary = std::string(kWorkDirectory) + "input.lst.XXXXXX";
  UniqueFd list(mkostemp(temporary.data(), O_CLOEXEC));
  if (!list) {
    return failed(kInputList, "cannot be written");
  }
  const mode_t mask = umask(0);
  umask(mask);
  bool written = fchmod(list.fd, 0666 & ~mask) == 0 && writeAll(list.fd, formatInputList(names));
  written = list.reset() == 0 && written;
  if (!written || rename(temporary.c_str(), kInputList) != 0) {
    const PathProblem problem = failed(kInputList, "cannot be written");
    unlink(temporary.c_str());
    return problem;
  }
  return std::nullopt;
}

// Removes zel_work/ and creates zel_work/ and zel_work/elb/ again. Nothing
// when zel_work/ then holds nothing but an empty elb/, else what stands in
// the way.
Problem resetWorkDirectory() {
  if (Problem left = removeTree(kWorkDirectory)) {
    return left;
  }
  if (mkdir(kWorkDirectory, kDirectoryMode) != 0) {
    return failed("zel_work", "cannot be created");
  }
  if (mkdir(kElaborationDirectory, kDirectoryMode) != 0) {
    return failed("zel_work/elb", "cannot be created");
  }
  if (!holdsOnly(kWorkDirectory, "elb") || !holdsOnly(kElaborationDirectory, "")) {
    return PathProblem{"zel_work", "was filled by another process during the reset"};
  }
  return std::nullopt;
}

// Says what stands in the way, then refuses the run.
int32_t refuseBecause(RunSettings& rs, std::span<const PathProblem> problems) {
  for (const PathProblem& problem : problems) {
    printReason(problem.path, problem.reason);
  }
  reportError(rs, "The pretreatment is not performed.");
  return -1;
}
int32_t refuseBecause(RunSettings& rs, const PathProblem& problem) { return refuseBecause(rs, {&problem, 1}); }

// Errors by which a file system says it offers no locks at all.
bool offersNoLocks(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL; }

// Refuses the run for the error in errno, naming the project directory.
int32_t cannotLock(RunSettings& rs) {
  const int error = errno;
  std::error_code unknown;
  const std::filesystem::path here = std::filesystem::current_path(unknown);
  errno = error;
  return refuseBecause(rs, failed(unknown ? std::string(".") : here.string(), "cannot be locked"));
}

// `name` with the links at its end followed, as often as the kernel follows them.
std::filesystem::path followLinksAtEnd(std::filesystem::path name) {
  std::error_code notALink;
  for (int hop = 0; hop < 40; ++hop) {
    const std::filesystem::path target = std::filesystem::read_symlink(name, notALink);
    if (notALink) {
      break;
    }
    name = name.parent_path() / target;  // an absolute target takes the place of the whole
  }
  return name;
}

// True when one of the directories on the real path of `name` is `directory`:
// the kernel resolves the links and ".." on the way, and each directory from
// the one holding the file up to "/" is compared by what it is, not by how it
// is spelt (a bind mount, or a path too long to spell from "/", tells alike).
// A file whose directory cannot be opened cannot be read either: nothing of
// it is lost.
bool liesInside(const std::string& name, const FileId& directory) {
  const std::filesystem::path holder = followLinksAtEnd(name).parent_path();
  UniqueFd at(open(holder.empty() ? "." : holder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  for (std::optional<FileId> here = at ? idOf(at.fd) : std::nullopt; here;) {
    if (*here == directory) {
      return true;
    }
    UniqueFd parent(openat(at.fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    const std::optional<FileId> above = parent ? idOf(parent.fd) : std::nullopt;
    if (above == here) {
      break;  // "/", its own parent
    }
    at = std::move(parent);
    here = above;
  }
  return false;
}

// Without "-na" the reset empties zel_work/: a file the run reads must not lie
// there (by where it really is), or it would be lost before it is read. A
// link named zel_work is removed without being followed: nothing lies in it,
// and like a plain file of that name it is no directory on any real path.
Problem inputInsideWorkDirectory(const RunSettings& rs) {
  struct stat work {};
  if (lstat("zel_work", &work) != 0) {
    return std::nullopt;
  }
  std::vector<std::string> read = rs.inputFiles;
  if (rs.ctf) {
    read.push_back(*rs.ctf);
  }
  for (const std::string& name : read) {
    if (liesInside(name, {work.st_dev, work.st_ino})) {
      return PathProblem{name, "lies inside zel_work/, which the reset empties"};
    }
  }
  return std::nullopt;
}

}  // namespace

int32_t lockProjectDirectory(RunSettings& rs, UniqueFd& lock) {
  // Not closed when a tool starts: every tool holds the lock as well, so it
  // lasts while any process of the run still works in zel_work/.
  UniqueFd project(open(".", O_RDONLY | O_DIRECTORY));  // NOLINT(android-cloexec-open)
  if (!project) {
    return cannotLock(rs);
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
    return cannotLock(rs);
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

int32_t checkInputNames(RunSettings& rs) {
  std::vector<PathProblem> problems;
  for (const std::string& name : rs.inputFiles) {
    if (name.empty()) {
      problems.push_back({name, "is an empty input file name"});
    } else if (name.find(';') != std::string::npos) {
      problems.push_back({name, "cannot be listed: the input list separates names with \";\""});
    }
  }
  return problems.empty() ? 0 : refuseBecause(rs, problems);
}

// Without "-na" the list is always written from the command line, on a work
// directory that holds nothing of an earlier run; with "-na" an earlier list
// that is a regular file takes the place of the command line's names, and a
// missing zel_work/elb/ is made for the tools.
int32_t prepareInputList(RunSettings& rs) {
  Problem problem;
  std::vector<std::string> names;
  if (!rs.na) {
    problem = inputInsideWorkDirectory(rs);
    if (!problem) {
      problem = resetWorkDirectory();
    }
    if (!problem) {
      problem = writeInputList(rs.inputFiles);
    }
  } else {
    if (readInputList(names, problem)) {
      rs.inputFiles = std::move(names);
    } else if (!problem) {
      problem = writeInputList(rs.inputFiles);
    }
    if (!problem && mkdir(kElaborationDirectory, kDirectoryMode) != 0 && errno != EEXIST) {
      problem = failed("zel_work/elb", "cannot be created");
    }
  }
  return problem ? refuseBecause(rs, *problem) : 0;
}
