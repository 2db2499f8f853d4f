#!/usr/bin/env bash
# End-to-end speed of the batch read-out on a synthetic 1,000,000-item store, in every layout and in XML mode,
# against `cp` copying the same store twice (the copies the read-out makes anyway) and against a reference
# awk script producing the delimiter layout. Also the window read-out of 100,000 items against the headless one.
# Every figure is a ratio to a baseline measured in this same run, by the wall clock and by the processor time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin="${BUILD_DIR:-$top/build}/bin"
out="$top/bench/out"
items=${ITEMS:-1000000}
window_items=${WINDOW_ITEMS:-100000}
runs=${RUNS:-3}
rm -rf "$out"
mkdir -p "$out/terminal/CONFIG" "$out/terminal/DATA" "$out/home"
printf '[GLOBAL]\r\nPDM_PRICE=2\r\nPDM_COUNT=3\r\n' >"$out/terminal/CONFIG/NODRA3000.ini"
"$bin/generate_store" data "$items" "$out/terminal/DATA/DATA_OUT.TXT"
: >"$out/terminal/DATA/ZOST_OUT.TXT"
store="$out/terminal/DATA/DATA_OUT.TXT"
echo "store: $items items, $(du -h "$store" | cut -f1)"

export NODRA3000_DRIVES="$out/terminal" NODRA3000_HOME="$out/home" XDG_RUNTIME_DIR="$out"

# best of $runs runs of a command: "wall cpu" seconds, cpu being user + system time (steadier than the wall
# clock on a machine that other work shares)
best() {
  local best_wall="" best_cpu="" TIMEFORMAT='%3R %3U %3S'
  for _ in $(seq "$runs"); do
    local t wall cpu
    t=$( { time "$@" >/dev/null 2>&1; } 2>&1 ) || true
    read -r wall user sys <<<"$t"
    cpu=$(echo "$user + $sys" | bc -l)
    if [ -z "$best_wall" ] || [ "$(echo "$wall < $best_wall" | bc -l)" = 1 ]; then best_wall=$wall; fi
    if [ -z "$best_cpu" ] || [ "$(echo "$cpu < $best_cpu" | bc -l)" = 1 ]; then best_cpu=$cpu; fi
  done
  echo "$best_wall $best_cpu"
}

peak_kb() { { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null || true; } | tail -1; }

settings() {  # formatovatData and the output layout flags
  printf '[GLOBAL]\r\nformatovatData=%s\r\n[OutFormat Oddelovac]\r\nOdd_OSK=%s\r\n[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=%s\r\n[OutFormat Casio]\r\nCASIO1_OSK=%s\r\n[OutFormat Old]\r\nOld_OSK=%s\r\n[PATHS]\r\npath_xmlOut=%s/x\r\npath_suroveData=%s/x\r\n' \
    "$1" "$2" "$3" "$4" "$5" "$out/home" "$out/home" >"$out/home/nodra3000.ini"
}

copy_twice() { cp "$store" "$out/copy1" && cp "$store" "$out/copy2"; }
awk_reference() {
  for pass in all nonzero; do
    LC_ALL=C awk -F';' -v pass=$pass '
      length($0) > 4 {
        code=$1; gsub(/[ \t\r\n]/, "", code); gsub(/[^ -~]/, "", code)
        name=$4; gsub(/[^ -~]/, "", name); sub(/ +$/, "", name)
        if (pass == "nonzero" && $3 + 0 == 0) next
        printf "%s;%.2f;%.2f;%s\r\n", code, $2, $3, name
      }' "$store" >"$out/awk_$pass.txt"
  done
}

read -r baseline baseline_cpu <<<"$(best copy_twice)"
read -r awk_t awk_cpu <<<"$(best awk_reference)"
printf '%-22s %8.3f s %8.3f s cpu\n' "cp twice (baseline)" "$baseline" "$baseline_cpu" "awk delimiter layout" "$awk_t" \
  "$awk_cpu"
printf '%-22s %8s %12s %12s %10s %12s %10s\n' mode seconds "x cp twice" "awk / mode" "cpu s" "cpu x cp" "peak MB"
for mode in delimiter archive fixed casio old xml raw; do
  case $mode in
    delimiter) settings 1 1 0 0 0 ;;
    # the delimiter layout again, each run first archiving the card's files (two archives kept)
    archive)
      settings 1 1 0 0 0
      sed -i -e 's/^\[GLOBAL\]\r$/&\narchiv_pocet=2\r/' -e "s|^\\[PATHS\\]\\r\$|&\\npath_archiv=$out/archiv\\r|" \
        "$out/home/nodra3000.ini"
      ;;
    fixed) settings 1 0 1 0 0 ;;
    casio) settings 1 0 0 1 0 ;;
    old) settings 1 0 0 0 1 ;;
    xml) settings 2 1 0 0 0 ;;
    raw) settings 0 1 0 0 0 ;;
  esac
  read -r t cpu <<<"$(best "$bin/nodra_mmc_trm" V /nodsp)"
  mem=$(peak_kb "$bin/nodra_mmc_trm" V /nodsp)
  printf '%-22s %8.3f %12.2f %12.1f %10.3f %12.2f %10.1f\n' "$mode" "$t" "$(echo "$t / $baseline" | bc -l)" \
    "$(echo "$awk_t / $t" | bc -l)" "$cpu" "$(echo "$cpu / $baseline_cpu" | bc -l)" "$(echo "$mem / 1024" | bc -l)"
  case $mode in
    delimiter) plain_t=$t plain_cpu=$cpu ;;
    archive) printf '%-22s %8.2f x wall %8.2f x cpu\n' "archive on / off" "$(echo "$t / $plain_t" | bc -l)" \
      "$(echo "$cpu / $plain_cpu" | bc -l)" ;;
  esac
done

# The window repaints at screen speed; with 100,000 items it must stay close to the headless run.
if command -v xvfb-run >/dev/null; then
  "$bin/generate_store" data "$window_items" "$store"
  settings 1 1 0 0 0
  headless=$(best "$bin/nodra_mmc_trm" V /nodsp | cut -d' ' -f1)
  window=$(best xvfb-run -a "$bin/nodra_mmc_trm" V /show | cut -d' ' -f1)
  bare_x=$(best xvfb-run -a true | cut -d' ' -f1)
  window_net=$(echo "$window - $bare_x" | bc -l)
  printf 'window read-out of %d items: %.3f s (less %.3f s for starting X) vs headless %.3f s: %.2f x\n' \
    "$window_items" "$window" "$bare_x" "$headless" "$(echo "$window_net / $headless" | bc -l)"
fi
