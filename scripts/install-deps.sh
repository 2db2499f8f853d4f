#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the screenshots and the package checks need, and the
# runtime packages the Debian package depends on beyond the libraries (so CI can install and inspect them).
# Idempotent.
# With the argument "fuzz": also clang and its sanitizer runtimes, which only `make fuzz` needs.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libboost-dev libpugixml-dev nlohmann-json3-dev libmount-dev libxxhash-dev
          libgtest-dev libgmock-dev libbenchmark-dev locales fonts-dejavu-core time gawk bc xvfb xauth imagemagick
          xdotool desktop-file-utils dpkg-dev clang-format clang-tidy lintian appstream qt6-qpa-plugins
          qt6-translations-l10n)
fuzz_packages=(clang libclang-rt-14-dev)
if [ "${1:-}" = fuzz ]; then
  packages+=("${fuzz_packages[@]}")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# The tests run the number handling under a decimal-comma locale as well.
if ! locale -a 2>/dev/null | grep -qi '^sk_SK\.utf-\?8$'; then
  $sudo localedef -i sk_SK -f UTF-8 sk_SK.UTF-8
fi
