// Removal of a directory tree that stays inside the tree.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

/// Where the walk learns which mount a directory belongs to, tried in this
/// order: statx (Linux 5.8 on), a file handle (name_to_handle_at), then
/// /proc/self/fdinfo (Linux 3.15 on).
enum class MountIdSource { statx, fileHandle, fdinfo };
inline constexpr MountIdSource kMountIdSources[] = {MountIdSource::statx, MountIdSource::fileHandle,
                                                    MountIdSource::fdinfo};

/// A path and why it stays: "cannot be removed: <the system's message>", "is
/// on another file system", ...
struct PathProblem {
  std::string path;
  std::string reason;
  bool operator==(const PathProblem&) const = default;
};

/// Empties and deletes the tree at `path`, depth first, at any depth in a
/// few descriptors and without recursion. A symbolic link is deleted, never
/// followed (at `path` too); a directory of another mount, or one whose mount
/// no source in `sources` tells, is not entered, and what cannot be deleted
/// stays. Nothing is deleted when `path` is itself a mount point, or its mount
/// cannot be told. A plain file at `path` is left alone.
/// Nothing when no directory is left at `path`; else the first thing that
/// stayed (below `path`, named from it) and why.
std::optional<PathProblem> removeTree(const std::string& path,
                                      std::span<const MountIdSource> sources = kMountIdSources);
