#!/usr/bin/env bash
# Every include of the program's own headers points down the layers (or stays in its own folder):
#   platform -> settings, terminal -> store -> fill, xml, accounting -> readout -> app
# Header-only files bypass the link graph, so the build alone would not notice an include that points up or
# sideways. Prints each offending include and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A below=(
  [platform]=""
  [settings]="platform"
  [terminal]="platform"
  [store]="platform settings terminal"
  [fill]="platform settings terminal store"
  [xml]="platform settings terminal store"
  [accounting]="platform settings"
  [readout]="platform settings terminal store xml"
  [app]="platform settings terminal store fill xml accounting readout"
)

status=0
for folder in src/*/; do
  layer=$(basename "$folder")
  if [ -z "${below[$layer]+set}" ]; then
    echo "check-layers: src/$layer/ is no known layer; add it to scripts/check-layers.sh and the README's map"
    status=1
    continue
  fi
  allowed=" $layer ${below[$layer]} "
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
    case "$allowed" in
      *" $target "*) ;;
      *) echo "$file:$line: $layer may not include $target: $text"; status=1 ;;
    esac
  done < <(grep -rn -E '^\s*#include "[a-z_]+/' "$folder" || true)
done
[ "$status" -eq 0 ] && echo "check-layers: every include points down"
exit "$status"
