#!/usr/bin/env bash
# CI: builds the Debian package, checks it with lintian and its metadata with appstreamcli, installs it,
# checks what it installed and runs the installed program headless, then removes it again so the machine
# stays as it was. Needs root or sudo, and lintian and appstream (scripts/install-deps.sh installs them).
# With a .deb as argument, checks that file instead of building one.
set -euo pipefail
deb=""
[ $# -eq 0 ] || deb=$(readlink -f "$1")
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
package=nodra3000

fail() {
  echo "check-package: $*" >&2
  exit 1
}
installed() {
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"
}
remove() {
  if installed; then $sudo dpkg -r "$package" >/dev/null; fi
}

# Never remove a copy that someone installed on purpose.
installed && fail "$package is already installed here; remove it first (dpkg -r $package)"
for tool in lintian appstreamcli desktop-file-validate setsid flock; do
  command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps.sh installs it"
done

if [ -z "$deb" ]; then
  make package
  deb=$(find dist -maxdepth 1 -name "${package}_*.deb" -printf '%T@ %p\n' | sort -n | tail -n 1 | cut -d' ' -f2-)
  [ -n "$deb" ] || fail "make package left no package in dist/"
fi

work=$(mktemp -d)
cleanup() {
  status=$?
  remove
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT

# Errors and warnings fail; the pedantic tags are shown as advice.
echo "check-package: lintian and appstreamcli on $deb"
lintian --fail-on error,warning --pedantic --display-info "$deb" || fail "lintian reports errors or warnings"
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
# Qt loads these at run time, where no library scan sees them.
for needed in qt6-qpa-plugins qt6-translations-l10n; do
  [[ ", $depends," == *", $needed,"* ]] || fail "the package does not depend on $needed"
done
# The package's own tree, so the metadata's launchable is checked against the desktop entry it ships.
dpkg-deb -x "$deb" "$work/root"
appstreamcli validate-tree --pedantic --no-net "$work/root" || fail "the package's AppStream metadata is invalid"

echo "check-package: installing $deb"
# dpkg leaves a package with missing dependencies unconfigured; apt-get -f brings them and finishes it.
if ! $sudo dpkg -i "$deb"; then
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -f -y -qq --no-install-recommends
fi
installed || fail "$package did not install"

program=$(command -v nodra_mmc_trm) || fail "nodra_mmc_trm is not on the PATH"
# Through the link, so a merged /usr finds the path dpkg recorded.
[ "$(dpkg-query -S "$(readlink -f "$program")" 2>/dev/null | cut -d: -f1)" = "$package" ] ||
  fail "$program does not come from the package"

# An unknown letter shows the usage text and ends with 2; the settings go to the scratch folder.
mkdir -p "$work/home" "$work/run" "$work/drive"
set +e
env -u DISPLAY -u WAYLAND_DISPLAY NODRA3000_HOME="$work/home" NODRA3000_DRIVES="$work/drive" \
  XDG_RUNTIME_DIR="$work/run" nodra_mmc_trm X /nodsp >"$work/out" 2>"$work/err"
code=$?
set -e
[ "$code" -eq 2 ] || { cat "$work/err" >&2; fail "unknown letter: exit code $code, expected 2"; }
grep -qF "nodra_mmc_trm.exe [VPNZzO] [/min]" "$work/err" || { cat "$work/err" >&2; fail "no usage text on stderr"; }
[ ! -s "$work/out" ] || fail "unexpected output on stdout"

# --help and --version: text on stdout and 0, headless, without a controlling terminal, while another
# instance holds the lock (the shell keeps it on fd 9 and does not pass it on). The lock is the user's, under
# the home the password database gives.
lock_home=$(getent passwd "$(id -u)" | cut -d: -f6)
mkdir -p "$lock_home/.local/state/nodra3000"
exec 9>"$lock_home/.local/state/nodra3000/NODRA3000MTX"
flock -n 9 || fail "cannot take the lock file for the test"
answer() {
  env -u DISPLAY -u WAYLAND_DISPLAY NODRA3000_HOME="$work/home" NODRA3000_DRIVES="$work/drive" \
    XDG_RUNTIME_DIR="$work/run" setsid -w nodra_mmc_trm "$@" </dev/null >"$work/out" 2>"$work/err" 9>&-
}
set +e
answer --version
code=$?
set -e
[ "$code" -eq 0 ] || { cat "$work/err" >&2; fail "--version: exit code $code, expected 0"; }
[ "$(cat "$work/out")" = "nodra_mmc_trm $version" ] || fail "--version printed \"$(cat "$work/out")\""
[ ! -s "$work/err" ] || { cat "$work/err" >&2; fail "--version wrote to stderr"; }
set +e
answer --help
code=$?
set -e
[ "$code" -eq 0 ] || { cat "$work/err" >&2; fail "--help: exit code $code, expected 0"; }
[ "$(head -n 1 "$work/out")" = "nodra_mmc_trm.exe [VPNZzO] [/min]" ] || { cat "$work/out" >&2; fail "--help: no usage"; }
grep -q "^/nodsp" "$work/out" || fail "--help says nothing on /nodsp"
iconv -f UTF-8 -t UTF-8 "$work/out" >/dev/null || fail "--help is not UTF-8"
[ ! -s "$work/err" ] || { cat "$work/err" >&2; fail "--help wrote to stderr"; }
exec 9>&-

desktop=/usr/share/applications/$package.desktop
[ -f "$desktop" ] || fail "no desktop entry"
# The validator's hints are advice; its warnings and errors are faults here.
validation=$(desktop-file-validate --no-hints "$desktop" 2>&1) || { echo "$validation" >&2; fail "desktop entry invalid"; }
[ -z "$validation" ] || { echo "$validation" >&2; fail "desktop entry has warnings"; }
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 48x48/apps/"$icon".png 256x256/apps/"$icon".png scalable/apps/"$icon".svg; do
  [ -s "/usr/share/icons/hicolor/$size" ] || fail "icon missing: $size"
done

metainfo=$(dpkg-query -L "$package" | grep '^/usr/share/metainfo/.*\.metainfo\.xml$') || fail "no AppStream metadata"
appstreamcli validate --pedantic --no-net "$metainfo" || fail "AppStream metadata invalid"

manpage=/usr/share/man/man1/nodra_mmc_trm.1.gz
[ -f "$manpage" ] || fail "no manual page"
MANWIDTH=80 man --warnings=w -l "$manpage" >"$work/man" 2>"$work/manwarn" || fail "manual page does not render"
[ ! -s "$work/manwarn" ] || { cat "$work/manwarn" >&2; fail "manual page renders with warnings"; }
grep -q "EXIT STATUS" "$work/man" || fail "manual page lacks its exit status section"

remove
installed && fail "$package did not remove"
hash -r
! command -v nodra_mmc_trm >/dev/null || fail "nodra_mmc_trm is still on the PATH after removal"
echo "check-package: $deb installs, runs and removes cleanly"
