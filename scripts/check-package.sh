#!/usr/bin/env bash
# CI: builds the Debian package, installs it, checks what it installed and runs the installed program once
# headless, then removes it again so the machine stays as it was. Needs root or sudo.
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

if [ -z "$deb" ]; then
  make package
  deb=$(find dist -maxdepth 1 -name "${package}_*.deb" -printf '%T@ %p\n' | sort -n | tail -n 1 | cut -d' ' -f2-)
  [ -n "$deb" ] || fail "make package left no package in dist/"
fi
echo "check-package: installing $deb"

work=$(mktemp -d)
cleanup() {
  status=$?
  remove
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT

# dpkg leaves a package with missing dependencies unconfigured; apt-get -f brings them and finishes it.
if ! $sudo dpkg -i "$deb"; then
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -f -y -qq --no-install-recommends
fi
installed || fail "$package did not install"

program=$(command -v nodra_mmc_trm) || fail "nodra_mmc_trm is not on the PATH"
# Through the link, so a merged /usr finds the path dpkg recorded.
[ "$(dpkg-query -S "$(readlink -f "$program")" 2>/dev/null | cut -d: -f1)" = "$package" ] ||
  fail "$program does not come from the package"

# An unknown letter shows the usage text and ends with 2; the settings and lock files go to the scratch folder.
mkdir -p "$work/home" "$work/run" "$work/drive"
set +e
env -u DISPLAY -u WAYLAND_DISPLAY NODRA3000_HOME="$work/home" NODRA3000_DRIVES="$work/drive" \
  XDG_RUNTIME_DIR="$work/run" nodra_mmc_trm X /nodsp >"$work/out" 2>"$work/err"
code=$?
set -e
[ "$code" -eq 2 ] || { cat "$work/err" >&2; fail "unknown letter: exit code $code, expected 2"; }
grep -qF "nodra_mmc_trm.exe [VPNZzO] [/min]" "$work/err" || { cat "$work/err" >&2; fail "no usage text on stderr"; }
[ ! -s "$work/out" ] || fail "unexpected output on stdout"

desktop=/usr/share/applications/$package.desktop
[ -f "$desktop" ] || fail "no desktop entry"
# The validator's hints are advice; its warnings and errors are faults here.
validation=$(desktop-file-validate --no-hints "$desktop" 2>&1) || { echo "$validation" >&2; fail "desktop entry invalid"; }
[ -z "$validation" ] || { echo "$validation" >&2; fail "desktop entry has warnings"; }
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 48x48/apps/"$icon".png 256x256/apps/"$icon".png scalable/apps/"$icon".svg; do
  [ -s "/usr/share/icons/hicolor/$size" ] || fail "icon missing: $size"
done

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
