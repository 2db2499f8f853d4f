#!/usr/bin/env bash
# Runs the full read-out ("V", headless) on a fresh copy of the bundled demo terminal and shows what it wrote.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
run="$top/demo-run"
rm -rf "$run"
mkdir -p "$run/home"
cp -r "$top/examples/demo-terminal" "$run/terminal"
export NODRA3000_DRIVES="$run/terminal" NODRA3000_HOME="$run/home"

show() {  # the program's files are Windows-1250
  echo "--- $1 (first lines)"
  head -n "${2:-5}" "$1" | iconv -f CP1250 -t UTF-8
}

echo "Terminal: $NODRA3000_DRIVES   program folder: $NODRA3000_HOME"
set +e
"$top/build/bin/nodra_mmc_trm" V /nodsp
code=$?
set -e
echo "Read-out finished with exit code $code"
for f in "$run"/home/*.txt; do
  [ -e "$f" ] || continue
  case "$(basename "$f")" in tmp_*) continue ;; esac
  show "$f"
done
exit $code
