#!/usr/bin/env bash
# Builds the Debian packages with CPack, installs them into a scratch root
# and runs talvo_s --version (and the example's tools) from there.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/release
cmake --preset release >/dev/null
cmake --build --preset release
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "$build"/packages/*.deb; do
  echo "package $(basename "$deb")"
  dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends):' || true
  dpkg-deb -x "$deb" "$root"
done
test -x "$root/usr/bin/talvo_s"
test -f "$root/usr/share/man/man1/talvo_s.1"
test -f "$root/usr/share/man/man5/talvo_s-constraint.5"
test -f "$root/usr/share/bash-completion/completions/talvo_s"
out=$(TALVO="$root/usr/share/talvo_s/root" "$root/usr/bin/talvo_s" --version)
echo "$out"
grep -q '^\*\*\* Talvoware-for_c_analyzer version 1.00.00 \*\*\*$' <<<"$out"
# The example runs end to end from the installed tree.
work=$(mktemp -d)
cp -r "$root/usr/share/talvo_s/example/." "$work"
(cd "$work" && mapfile -t args < run.args &&
  PATH="$root/usr/share/talvo_s/tools:$PATH" TALVO="$root/usr/share/talvo_s/root" "$root/usr/bin/talvo_s" "${args[@]}" >/dev/null)
rm -rf "$work"
echo "installed package runs"
