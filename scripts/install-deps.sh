#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the checks need.
# As root, missing packages are installed with apt-get; otherwise the missing
# ones are listed and the script fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-tidy libclang-rt-14-dev cppcheck
  groff-base man-db mandoc bash-completion dpkg-dev file lintian shellcheck e2fsprogs python3
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing Debian packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
