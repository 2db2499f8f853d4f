#!/usr/bin/env bash
# Renders the committed PNG icons from nodra3000.svg again; run after changing the drawing (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" nodra3000.svg -o "nodra3000-$size.png"
done
