#!/usr/bin/env bash
# The Debian package as a user meets it: installed with dpkg -i on this machine, its programs run
# from the PATH (qx480ctl on the emulated keyboard), then purged, leaving no file of it behind.
# It changes the machine, so it runs only in CI (CI=true) and refuses when the package is already
# installed. ./scripts/test.sh runs it after the default preset.
#   tests/package/install_test.sh [PACKAGE.deb]    without one, ./scripts/package.sh builds it
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${CI:-}" != "true" ]; then
  echo "== package: skipped (only with CI=true: it installs the package on this machine with" \
       "dpkg -i and purges it) =="
  exit 0
fi
echo "== package =="
started=$(date +%s)
name=qx480
if dpkg-query -W -f='${db:Status-Abbrev}' "$name" 2>/dev/null | grep -q '^.[^n]'; then
  echo "install_test: $name is installed on this machine; the test would replace and purge it," \
       "so it refuses (remove it first: dpkg -P $name)" >&2
  exit 1
fi

deb=${1:-$(./scripts/package.sh | tail -n 1)}
version=$(dpkg-deb -f "$deb" Version)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

work=$(mktemp -d)
installed=0
cleanup() {
  if [ "$installed" -eq 1 ]; then
    "${sudo_cmd[@]}" dpkg -P "$name" >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "install_test: $*" >&2
  exit 1
}

# Everything the package holds, as absolute paths.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^/*$' \
  >"$work/files"

"${sudo_cmd[@]}" dpkg -i "$deb" || fail "dpkg -i $deb failed"
installed=1

# One version everywhere: the package, both tools (started through their links in /usr/bin)
# and the metadata.
for program in qx480ctl qx480-sim; do
  [ "$("/usr/bin/$program" --version)" = "$program $version" ] ||
    fail "$program --version does not say $version"
done
grep -q "<release version=\"$version\"" /usr/share/metainfo/*.metainfo.xml ||
  fail "the metadata's release is not $version"
# The help page the Help buttons open: every link and picture of it is installed.
tests/help/check_help_page.sh /usr/lib/qx480/Help >/dev/null || fail "the installed help page is incomplete"

# The installed tools on the emulated keyboard, with folders of the test's own; the emulator
# starts from the run-time folder next to the library, as a user's would.
mkdir -m 700 "$work/run"
run() {
  env HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" RADODOR_BACKEND=sim RADODOR_SIM_STATE="$work/keyboard.state" \
    "$@"
}
run /usr/bin/qx480ctl status >"$work/status" 2>&1 ||
  fail "qx480ctl status failed: $(cat "$work/status")"
grep -qx "keyboard: present" "$work/status" ||
  fail "qx480ctl status found no keyboard: $(cat "$work/status")"
run /usr/bin/qx480-sim stop >/dev/null || fail "qx480-sim stop found no emulated keyboard"
# The installed driver starts in the background (no display needed offscreen) and ends on /Kill.
QT_QPA_PLATFORM=offscreen run /usr/bin/qx480-driver /Start &
driver=$!
for _ in $(seq 200); do
  sockets=("$work/run/RT42M07C-$(id -u)-"*)  # the running driver's instance server
  [ -S "${sockets[0]}" ] && break
  kill -0 "$driver" 2>/dev/null || fail "qx480-driver /Start ended at once"
  sleep 0.1
done
QT_QPA_PLATFORM=offscreen run /usr/bin/qx480-driver /Kill || fail "qx480-driver /Kill failed"
for _ in $(seq 200); do
  kill -0 "$driver" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$driver" 2>/dev/null; then
  kill "$driver"
  fail "qx480-driver did not end on /Kill"
fi
wait "$driver" || fail "qx480-driver ended with exit code $?"
run /usr/bin/qx480-sim stop >/dev/null || true
# No program of the package is left running.
for exe in /proc/[0-9]*/exe; do
  case $(readlink "$exe" 2>/dev/null) in
    /usr/lib/qx480/*) fail "still running after the test: $(readlink "$exe") (${exe%/exe})" ;;
  esac
done

"${sudo_cmd[@]}" dpkg -P "$name" >/dev/null || fail "dpkg -P $name failed"
installed=0
dpkg-query -W -f='${db:Status-Abbrev}' "$name" 2>/dev/null | grep -q '^.[^n]' &&
  fail "$name is still known to dpkg after the purge"

# Nothing of it is left: no file or link, and no folder of its own.
left=()
while IFS= read -r path; do
  if [ -L "$path" ] || [ -f "$path" ]; then
    left+=("$path")
  elif [ -d "$path" ] && [ -z "$(ls -A "$path")" ] && ! dpkg-query -S "$path" >/dev/null 2>&1; then
    left+=("$path/")
  fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"

echo "package $name $version: installed, run and purged in $(($(date +%s) - started)) s"
