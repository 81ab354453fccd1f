#include "pipeline/remove_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
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
  unsigned long long id = 0;
  if (line == nullptr || std::sscanf(line, "mnt_id: %llu", &id) != 1) {
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

// The top of the walk, which must lie on the mount of its parent: a mount
// point, or a directory whose mount no source tells, is not ours to empty.
bool locateTop(int fd, std::span<const MountIdSource> sources, Place& place) {
  const UniqueFd parent(openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  Place above;
  return locate(fd, sources, place) && parent && locate(parent.fd, sources, above) && above.sameMount(place);
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

// Deletes every entry of the open directory but its subdirectories, which it
// adds to `subdirectories`. What it cannot read or delete stays; the caller
// sees that in what is left.
void deleteFilesIn(int fd, std::vector<std::string>& subdirectories) {
  int listed = dup(fd);
  DIR* dir = listed < 0 ? nullptr : fdopendir(listed);
  if (dir == nullptr) {
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
    if (isDirectoryEntry(fd, *entry) || (unlinkat(fd, name, 0) != 0 && errno == EISDIR)) {
      subdirectories.emplace_back(name);
    }
  }
  closedir(dir);
}

}  // namespace

// Walks down holding one directory open at a time; the way back up is
// through "..", checked against where the parent was, so a directory moved
// away meanwhile ends the walk instead of leading it elsewhere.
int32_t removeTree(const std::string& path, std::span<const MountIdSource> sources) {
  std::string target = path;
  // A trailing "/" would make the kernel follow a link at `path`.
  while (target.size() > 1 && target.back() == '/') {
    target.pop_back();
  }
  UniqueFd current(openDirectory(AT_FDCWD, target.c_str()));
  if (!current) {
    struct stat info {};
    if (lstat(target.c_str(), &info) != 0) {
      return 0;
    }
    if (S_ISLNK(info.st_mode)) {
      return unlink(target.c_str()) == 0 ? 0 : -1;  // the link goes, its target stays
    }
    return S_ISDIR(info.st_mode) ? -1 : 0;
  }
  std::vector<Level> levels(1);
  if (!locateTop(current.fd, sources, levels[0].place)) {
    return -1;
  }
  const Place top = levels[0].place;
  deleteFilesIn(current.fd, levels[0].subdirectories);
  while (true) {
    Level& level = levels.back();
    if (!level.subdirectories.empty()) {
      std::string name = std::move(level.subdirectories.back());
      level.subdirectories.pop_back();
      UniqueFd child(openDirectory(current.fd, name.c_str()));
      if (!child) {
        if (errno == ENOTDIR || errno == ELOOP) {
          unlinkat(current.fd, name.c_str(), 0);  // swapped for a file or a link meanwhile
        }
        continue;
      }
      Place place;
      if (!locate(child.fd, sources, place) || !place.sameMount(top)) {
        continue;  // another file system: not ours to empty
      }
      levels.push_back({std::move(name), place, {}});
      current = std::move(child);
      deleteFilesIn(current.fd, levels.back().subdirectories);
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
      return -1;
    }
    current = std::move(parent);
    unlinkat(current.fd, name.c_str(), AT_REMOVEDIR);
  }
  current.reset();
  return rmdir(target.c_str()) == 0 || errno == ENOENT ? 0 : -1;
}
