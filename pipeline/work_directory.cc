#include "pipeline/work_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "driver/report.h"

namespace {

constexpr const char* kWorkDirectory = "zel_work/";
constexpr const char* kElaborationDirectory = "zel_work/elb/";
constexpr const char* kInputList = "./zel_work/input.lst";
constexpr mode_t kDirectoryMode = 0755;

bool isDirectoryEntry(int parent, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) {
    return entry.d_type == DT_DIR;
  }
  struct stat info {};
  return fstatat(parent, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// Deletes everything inside the open directory `fd` (closed on return).
// Links are unlinked, never followed: a subdirectory is opened with
// O_NOFOLLOW, so one swapped for a link meanwhile is unlinked as a file.
void emptyDirectory(int fd) {
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    close(fd);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
      continue;
    }
    if (isDirectoryEntry(fd, *entry)) {
      int child = openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child >= 0) {
        emptyDirectory(child);
      }
      if (unlinkat(fd, name, AT_REMOVEDIR) == 0 || errno != ENOTDIR) {
        continue;
      }
    }
    unlinkat(fd, name, 0);
  }
  closedir(dir);
}

}  // namespace

int32_t removeTree(const std::string& path) {
  std::string target = path;
  // A trailing "/" would make the kernel follow a link at `path`.
  while (target.size() > 1 && target.back() == '/') {
    target.pop_back();
  }
  int fd = open(target.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    // A link in place of the tree goes itself; its target stays as it is.
    struct stat info {};
    if (lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      unlink(target.c_str());
    }
    return 0;
  }
  emptyDirectory(fd);
  rmdir(target.c_str());
  return 0;
}

int32_t resetWorkDirectory() {
  removeTree(kWorkDirectory);
  mkdir(kWorkDirectory, kDirectoryMode);
  mkdir(kElaborationDirectory, kDirectoryMode);
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

int32_t prepareInputList(RunSettings& rs) {
  if (!rs.na) {
    resetWorkDirectory();
  }
  if (std::ifstream earlier{kInputList, std::ios::binary}) {
    // Kept by "-na": the recorded names replace those of the command line.
    const std::string text{std::istreambuf_iterator<char>(earlier), std::istreambuf_iterator<char>()};
    rs.inputFiles = parseInputList(text);
    return 0;
  }
  std::ofstream list{kInputList, std::ios::binary | std::ios::trunc};
  list << formatInputList(rs.inputFiles);
  list.close();
  if (!list) {
    reportError(rs, "The pretreatment is not performed.");
    return -1;
  }
  return 0;
}
