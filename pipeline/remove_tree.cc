#include "pipeline/remove_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/unique_fd.h"

namespace {

// Where a directory is: the mount it belongs to and its inode. Directories
// of a bind mount share the device of their source, so the mount is told by
// its id; where no source gives the id, the directory is not located at all.
struct Place {
  dev_t device = 0;
  ino_t inode = 0;
  uint64_t mount = 0;

  bool sameMount(const Place& other) const { return device == other.device && mount == other.mount; }
  bool operator==(const Place&) const = default;
};

bool mountFromFileHandle(int fd, uint64_t& mount) {
  alignas(file_handle) unsigned char storage[sizeof(file_handle) + MAX_HANDLE_SZ] = {};
  auto* handle = reinterpret_cast<file_handle*>(storage);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
  handle->handle_bytes = MAX_HANDLE_SZ;
  int id = 0;
  if (name_to_handle_at(fd, "", handle, &id, AT_EMPTY_PATH) != 0) {
    return false;
  }
  mount = static_cast<uint64_t>(id);
  return true;
}

bool mountFromFdinfo(int fd, uint64_t& mount) {
  const std::string path = "/proc/self/fdinfo/" + std::to_string(fd);
  const UniqueFd info(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  char text[4096];
  const ssize_t got = info ? read(info.fd, text, sizeof text - 1) : -1;
  if (got <= 0) {
    return false;
  }
  text[got] = '\0';
  const char* line = std::strstr(text, "mnt_id:");
  if (line == nullptr) {
    return false;
  }
  line += std::strlen("mnt_id:");
  char* end = nullptr;
  errno = 0;
  const unsigned long long id = std::strtoull(line, &end, 10);
  if (end == line || errno != 0) {
    return false;
  }
  mount = id;
  return true;
}

bool locate(int fd, std::span<const MountIdSource> sources, Place& place) {
  struct statx info {};
  if (statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_INO | STATX_MNT_ID, &info) != 0) {
    return false;
  }
  place.device = makedev(info.stx_dev_major, info.stx_dev_minor);
  place.inode = info.stx_ino;
  for (MountIdSource source : sources) {
    switch (source) {
      case MountIdSource::statx:
        if ((info.stx_mask & STATX_MNT_ID) != 0) {
          place.mount = info.stx_mnt_id;
          return true;
        }
        break;
      case MountIdSource::fileHandle:
        if (mountFromFileHandle(fd, place.mount)) {
          return true;
        }
        break;
      case MountIdSource::fdinfo:
        if (mountFromFdinfo(fd, place.mount)) {
          return true;
        }
        break;
    }
  }
  return false;
}

// Where a directory is, or why it cannot be said: empty when its mount is
// known and, for the top of the walk, that of its parent.
std::string placeOf(int fd, std::span<const MountIdSource> sources, Place& place, const Place* onMountOf) {
  if (!locate(fd, sources, place)) {
    return "lies on a mount that cannot be told";
  }
  return onMountOf == nullptr || place.sameMount(*onMountOf) ? "" : "is on another file system";
}

int openDirectory(int parent, const char* name) {
  return openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// One directory on the way down: its name in its parent, where it is, and
// the subdirectories still to visit.
struct Level {
  std::string name;
  Place place;
  std::vector<std::string> subdirectories;
};

bool isDirectoryEntry(int parent, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) {
    return entry.d_type == DT_DIR;
  }
  struct stat info {};
  return fstatat(parent, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// The walk's record of what stayed: the first thing, which explains the rest.
struct Leftovers {
  std::optional<PathProblem> first;

  void note(std::string path, std::string reason) {
    if (!first) {
      first = PathProblem{std::move(path), std::move(reason)};
    }
  }
  void noteFailure(std::string path, std::string_view what) {
    note(std::move(path), std::string(what) + ": " + std::strerror(errno));
  }
};

// Deletes every entry of the open directory `where` but its subdirectories,
// which it adds to `subdirectories`; notes what stays.
void deleteFilesIn(int fd, const std::string& where, std::vector<std::string>& subdirectories, Leftovers& leftovers) {
  int listed = dup(fd);
  DIR* dir = listed < 0 ? nullptr : fdopendir(listed);
  if (dir == nullptr) {
    leftovers.noteFailure(where, "cannot be read");
    if (listed >= 0) {
      close(listed);
    }
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
      continue;
    }
    if (isDirectoryEntry(fd, *entry)) {
      subdirectories.emplace_back(name);
    } else if (unlinkat(fd, name, 0) != 0) {
      if (errno == EISDIR) {
        subdirectories.emplace_back(name);
      } else {
        leftovers.noteFailure(where + "/" + name, "cannot be removed");
      }
    }
  }
  closedir(dir);
}

}  // namespace

// Walks down holding one directory open at a time; the way back up is
// through "..", checked against where the parent was, so a directory moved
// away meanwhile ends the walk instead of leading it elsewhere.
std::optional<PathProblem> removeTree(const std::string& path, std::span<const MountIdSource> sources) {
  std::string where = path;
  // A trailing "/" would make the kernel follow a link at `path`.
  while (where.size() > 1 && where.back() == '/') {
    where.pop_back();
  }
  const std::string target = where;
  Leftovers leftovers;
  UniqueFd current(openDirectory(AT_FDCWD, target.c_str()));
  if (!current) {
    struct stat info {};
    if (lstat(target.c_str(), &info) != 0 || !(S_ISLNK(info.st_mode) || S_ISDIR(info.st_mode))) {
      return std::nullopt;  // nothing, or a plain file: no tree to remove
    }
    if (S_ISLNK(info.st_mode) && unlink(target.c_str()) == 0) {
      return std::nullopt;  // the link goes, its target stays
    }
    leftovers.noteFailure(target, S_ISLNK(info.st_mode) ? "cannot be removed" : "cannot be opened");
    return leftovers.first;
  }
  std::vector<Level> levels(1);
  {
    const UniqueFd parent(openat(current.fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    Place above;
    std::string why = !parent ? "cannot be opened" : placeOf(parent.fd, sources, above, nullptr);
    if (why.empty()) {
      why = placeOf(current.fd, sources, levels[0].place, &above);  // a mount point is not ours to empty
    }
    if (!why.empty()) {
      return PathProblem{target, why};
    }
  }
  const Place top = levels[0].place;
  deleteFilesIn(current.fd, where, levels[0].subdirectories, leftovers);
  while (true) {
    Level& level = levels.back();
    if (!level.subdirectories.empty()) {
      std::string name = std::move(level.subdirectories.back());
      level.subdirectories.pop_back();
      std::string childPath = where;
      childPath.append("/").append(name);
      UniqueFd child(openDirectory(current.fd, name.c_str()));
      if (!child) {
        if ((errno != ENOTDIR && errno != ELOOP) || unlinkat(current.fd, name.c_str(), 0) != 0) {
          leftovers.noteFailure(childPath, "cannot be opened");  // else swapped for a file or a link meanwhile
        }
        continue;
      }
      Place place;
      if (std::string why = placeOf(child.fd, sources, place, &top); !why.empty()) {
        leftovers.note(childPath, why);
        continue;
      }
      levels.push_back({std::move(name), place, {}});
      where = childPath;
      current = std::move(child);
      deleteFilesIn(current.fd, where, levels.back().subdirectories, leftovers);
      continue;
    }
    if (levels.size() == 1) {
      break;
    }
    const std::string name = std::move(level.name);
    levels.pop_back();
    UniqueFd parent(openat(current.fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    Place place;
    if (!parent || !locate(parent.fd, sources, place) || !(place == levels.back().place)) {
      leftovers.note(where, "was moved away during the removal");
      return leftovers.first;
    }
    current = std::move(parent);
    if (unlinkat(current.fd, name.c_str(), AT_REMOVEDIR) != 0) {
      leftovers.noteFailure(where, "cannot be removed");
    }
    where.resize(where.size() - name.size() - 1);
  }
  current.reset();
  if (rmdir(target.c_str()) == 0 || errno == ENOENT) {
    return std::nullopt;
  }
  leftovers.noteFailure(target, "cannot be removed");
  return leftovers.first;
}
