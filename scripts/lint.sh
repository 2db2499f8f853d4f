#!/usr/bin/env bash
# Static checks: the layers' include rule, clang-format on every source file and clang-tidy on the program's own
# code, warnings as errors.
# Needs a configured build (the default preset's compile_commands.json).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$top/build}"
cd "$top"

"$top/scripts/check-layers.sh"

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"

# clang knows no Windows-1250 execution character set; the checks do not depend on it.
db=$(mktemp -d)
trap 'rm -rf "$db"' EXIT
sed 's/ -fexec-charset=CP1250//g' "$build/compile_commands.json" >"$db/compile_commands.json"
mapfile -t units < <(git ls-files 'src/*.cpp')
printf '%s\n' "${units[@]}" | xargs -P 2 -n 4 clang-tidy -p "$db" --quiet
echo "lint: clean"
