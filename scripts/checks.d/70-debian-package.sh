#!/usr/bin/env bash
# Builds the Debian packages with CPack, checks them with lintian (no tag of
# any level, pedantic and informational ones included: this also holds every
# binary to Debian's default hardening), installs them into a scratch root
# and runs talvo_s --version and the installed example from there, as its
# README says.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/release
cmake --preset release >/dev/null
cmake --build --preset release
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/packages/*.deb)
[ ${#debs[@]} -eq 2 ]
echo "lintian -I --pedantic ${debs[*]##*/}"
status=0
report=$(lintian -I --pedantic --fail-on error,warning,info,pedantic "${debs[@]}" 2>&1) || status=$?
report=$(grep -vx 'running with root privileges is not recommended!' <<<"$report" || true)
if [ "$status" -ne 0 ] || [ -n "$report" ]; then
  echo "$report"
  echo "lintian reported the tags above (status $status)" >&2
  exit 1
fi
root=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$root" "$work"' EXIT
for deb in "${debs[@]}"; do
  echo "package $(basename "$deb")"
  dpkg-deb -f "$deb" Package Version Depends
  dpkg-deb -x "$deb" "$root"
done
test -x "$root/usr/bin/talvo_s"
test -f "$root/usr/share/man/man1/talvo_s.1.gz"
test -f "$root/usr/share/man/man5/talvo_s-constraint.5.gz"
test -f "$root/usr/share/bash-completion/completions/talvo_s"
out=$(TALVO="$root/usr/share/talvo_s/root" "$root/usr/bin/talvo_s" --version)
echo "$out"
grep -q '^\*\*\* Talvoware-for_c_analyzer version 1.00.00 \*\*\*$' <<<"$out"
# The example runs end to end from the installed tree, with the arguments its
# README gives.
example=$root/usr/share/talvo_s/example
grep -qF "talvo_s $(paste -sd ' ' "$example/run.args")" "$root/usr/share/doc/talvo-s-examples/README"
cp -r "$example/." "$work"
(cd "$work" && mapfile -t args < run.args &&
  PATH="$root/usr/lib/talvo_s/tools:$PATH" TALVO="$root/usr/share/talvo_s/root" "$root/usr/bin/talvo_s" "${args[@]}" >/dev/null)
echo "installed package runs"
