// Removal of a directory tree that stays inside the tree.
#pragma once

#include <cstdint>
#include <string>

/// Empties and deletes the tree at `path`, depth first, at any depth in a
/// few descriptors and without recursion. A symbolic link is deleted, never
/// followed (at `path` too); a directory of another mount is not entered, and
/// what cannot be deleted stays. A plain file at `path` is left alone.
/// 0 when no directory is left at `path`, -1 when one is.
int32_t removeTree(const std::string& path);
