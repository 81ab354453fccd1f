// Powers only root has, for tests of what even root cannot delete. Each
// returns an empty text when done, else why not: the test then skips.
#pragma once

#include <string>

/// Sets or clears the immutable attribute of a file or directory.
std::string setImmutable(const std::string& path, bool immutable);

/// Bind-mounts `source` on the directory `target`, in a mount namespace of
/// the test process's own, so that nothing outlives the process.
std::string bindMount(const std::string& source, const std::string& target);
