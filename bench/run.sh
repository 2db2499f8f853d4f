#!/usr/bin/env bash
# End-to-end speed of the batch program. Every figure is a ratio to a baseline measured in this same run, by the
# wall clock and by the processor time (user + system).
#  1. The read-out of a synthetic ITEMS-item store in every layout, in XML mode and as a raw copy, against `cp`
#     copying the store twice (the copies the read-out makes anyway) and a reference awk script producing the
#     delimiter layout; and with the card's files archived against without.
#  2. Each job (V, N, XML V, the fill O) at ITEMS and at SMALL_ITEMS items against its I/O floor: bin/io_floor
#     doing exactly the job's reads and writes (the sizes the job's own run wrote) and nothing between them.
#  3. The window read-out of WINDOW_ITEMS items against the headless one.
#  4. The start-up: a batch run that finds no terminal (headless, so on Qt's minimal platform, which it picks
#     itself) against a bare QApplication on the offscreen platform.
# Run it through /work/isolated.sh (or any private single-instance lock folder) when other copies may run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin="${BUILD_DIR:-$top/build}/bin"
out="$top/bench/out"
items=${ITEMS:-1000000}
small_items=${SMALL_ITEMS:-100000}
window_items=${WINDOW_ITEMS:-100000}
runs=${RUNS:-5}
small_runs=${SMALL_RUNS:-10}  # the small jobs take a tenth of the time and vary more
startup_runs=${STARTUP_RUNS:-20}

card="$out/terminal" home="$out/home"
store="$card/DATA/DATA_OUT.TXT" zost="$card/DATA/ZOST_OUT.TXT"
pc_input="$out/pc/data_in.txt"
# The floor writes into folders of its own on the same file system, never over the program's files.
floor_home="$out/floor/home" floor_card="$out/floor/card/DATA"
rm -rf "$out"
mkdir -p "$card/CONFIG" "$card/DATA" "$home" "$out/pc" "$floor_home" "$floor_card" "$out/empty" "$out/run"
chmod 700 "$out/run"
printf '[GLOBAL]\r\nPDM_PRICE=2\r\nPDM_COUNT=3\r\n' >"$card/CONFIG/NODRA3000.ini"
export NODRA3000_DRIVES="$card" NODRA3000_HOME="$home" XDG_RUNTIME_DIR="$out/run"

# ---- measuring --------------------------------------------------------------------------------------------------

# one run of a command: "wall cpu" seconds, cpu being user + system time (steadier than the wall clock on a
# machine that other work shares)
timed() {
  local t wall user sys TIMEFORMAT='%3R %3U %3S'
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1) || true
  read -r wall user sys <<<"$t"
  echo "$wall $(echo "$user + $sys" | bc -l)"
}

lower() { if [ "$(echo "$1 < $2" | bc -l)" = 1 ]; then echo "$1"; else echo "$2"; fi; }

# best of N runs of a command: "wall cpu"
best_of() {
  local n=$1 best_wall=999999 best_cpu=999999 wall cpu
  shift
  for _ in $(seq "$n"); do
    read -r wall cpu <<<"$(timed "$@")"
    best_wall=$(lower "$wall" "$best_wall") best_cpu=$(lower "$cpu" "$best_cpu")
  done
  echo "$best_wall $best_cpu"
}
best() { best_of "$runs" "$@"; }

peak_kb() { { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null || true; } | tail -1; }

# a / b with two decimals; "-" when b is too small to divide by (processor time below the clock's resolution)
ratio() { if [ "$(echo "$2 < 0.001" | bc -l)" = 1 ]; then echo -; else printf '%.2f' "$(echo "$1 / $2" | bc -l)"; fi; }

size() { stat -c %s "$1"; }

# Runs a command once and stops the benchmark if it fails: a failing one would be timed as a fast one. The run also
# brings the store into the page cache and leaves the settings file complete (the first run writes every key).
checked() {
  local status=0
  "$@" >"$out/checked.log" 2>&1 || status=$?
  if [ "$status" != 0 ]; then
    echo "bench: '$*' failed with $status:" >&2
    cat "$out/checked.log" >&2
    exit 1
  fi
}

# ---- the program's settings and the card ------------------------------------------------------------------------

settings() { # formatovatData and the output layout flags
  printf '[GLOBAL]\r\nformatovatData=%s\r\n[OutFormat Oddelovac]\r\nOdd_OSK=%s\r\n[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=%s\r\n[OutFormat Casio]\r\nCASIO1_OSK=%s\r\n[OutFormat Old]\r\nOld_OSK=%s\r\n[PATHS]\r\npath_xmlOut=%s/x\r\npath_suroveData=%s/x\r\npath_ins=%s\r\n' \
    "$1" "$2" "$3" "$4" "$5" "$home" "$home" "$pc_input" >"$home/nodra3000.ini"
}

# A card holding a main store of $1 items and an empty report; the PC input for the fill is the same list
# (a delimiter layout list in Windows-1250, as the shops' exports come).
card_items=""
make_card() {
  if [ "$card_items" != "$1" ]; then
    "$bin/generate_store" data "$1" "$store"
    cp "$store" "$pc_input"
    card_items=$1
  fi
  : >"$zost"
  rm -f "$card/DATA/data_in.txt"
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

# ---- the jobs and their floors ----------------------------------------------------------------------------------
# prepare_job JOB sets the settings, runs the job once (checked) and fills job_cmd and, from the sizes that run
# wrote, floor_steps: the arguments of io_floor doing the job's I/O as strace shows the program doing it.

# A formatted read-out of one card file: copied to the work file tmp_in.txt, read back, one output written.
floor_formatted() {
  floor_steps+=(copy "$1" "$floor_home/tmp_in.txt" read "$floor_home/tmp_in.txt"
    write "$floor_home/${2##*/}" "$(size "$2")")
}

# An XML output: its card file (when there is one) read straight from the card, the XML written.
floor_xml() {
  if [ -e "$1" ]; then floor_steps+=(read "$1"); fi
  floor_steps+=(write "$floor_home/${2##*/}" "$(size "$2")")
}

prepare_job() {
  floor_steps=()
  case $1 in
    V)
      settings 1 1 0 0 0
      job_cmd=("$bin/nodra_mmc_trm" V /nodsp)
      checked "${job_cmd[@]}"
      floor_formatted "$store" "$home/data_outv.txt"
      floor_formatted "$zost" "$home/zostavy.txt"
      floor_formatted "$store" "$home/data_outn.txt"
      ;;
    N)
      settings 1 1 0 0 0
      job_cmd=("$bin/nodra_mmc_trm" N /nodsp)
      checked "${job_cmd[@]}"
      floor_formatted "$store" "$home/data_outn.txt"
      ;;
    "XML V")
      settings 2 1 0 0 0
      job_cmd=("$bin/nodra_mmc_trm" V /nodsp)
      checked "${job_cmd[@]}"
      floor_xml "$store" "$home/DATA_OUT.XML"
      floor_xml "$card/DATA/VP_OUT.TXT" "$home/VP_OUT.XML"
      floor_xml "$zost" "$home/ZOST_OUT.XML"
      floor_xml "$store" "$home/DATA_OUTN.XML"
      ;;
    fill)
      settings 1 1 0 0 0
      job_cmd=("$bin/nodra_mmc_trm" O /nodsp)
      checked "${job_cmd[@]}"
      # The encoding pass reads one 256 KiB chunk of a Windows-1250 list; then the list is parsed into the
      # work file, the work file replaces the card's list, which is read back past the cache and compared.
      floor_steps+=(readhead "$pc_input" 262144 read "$pc_input"
        write "$floor_home/tmp_out.txt" "$(size "$home/tmp_out.txt")"
        replace "$floor_home/tmp_out.txt" "$floor_card/data_in.txt"
        readdirect "$floor_card/data_in.txt" read "$floor_home/tmp_out.txt")
      ;;
  esac
}

# The job and its floor run in turns, so that both meet the same load on a shared machine: "wall cpu floor_wall
# floor_cpu", each the best of N.
best_paired() {
  local n=$1 w=999999 c=999999 fw=999999 fc=999999 wall cpu
  for _ in $(seq "$n"); do
    read -r wall cpu <<<"$(timed "${job_cmd[@]}")"
    w=$(lower "$wall" "$w") c=$(lower "$cpu" "$c")
    read -r wall cpu <<<"$(timed "$bin/io_floor" "${floor_steps[@]}")"
    fw=$(lower "$wall" "$fw") fc=$(lower "$cpu" "$fc")
  done
  echo "$w $c $fw $fc"
}

# One table row per job at $1 items, best of $2 runs.
jobs_table() {
  make_card "$1"
  local base
  read -r base _ <<<"$(best_of "$2" copy_twice)"
  for job in V N "XML V" fill; do
    prepare_job "$job"
    checked "$bin/io_floor" "${floor_steps[@]}"
    local t cpu ft fcpu mem
    read -r t cpu ft fcpu <<<"$(best_paired "$2")"
    mem=$(peak_kb "${job_cmd[@]}")
    printf '%-8s %8d %8.3f %8.3f %8s %8.3f %8.3f %8s %8s %8.1f\n' "$job" "$1" "$t" "$ft" "$(ratio "$t" "$ft")" \
      "$cpu" "$fcpu" "$(ratio "$cpu" "$fcpu")" "$(ratio "$t" "$base")" "$(echo "$mem / 1024" | bc -l)"
  done
  rm -f "$card/DATA/data_in.txt"
}

# ---- 1. every read-out mode -------------------------------------------------------------------------------------

make_card "$items"
echo "store: $items items, $(du -h "$store" | cut -f1)"
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
        "$home/nodra3000.ini"
      ;;
    fixed) settings 1 0 1 0 0 ;;
    casio) settings 1 0 0 1 0 ;;
    old) settings 1 0 0 0 1 ;;
    xml) settings 2 1 0 0 0 ;;
    raw) settings 0 1 0 0 0 ;;
  esac
  checked "$bin/nodra_mmc_trm" V /nodsp
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

# ---- 2. each job against its I/O floor --------------------------------------------------------------------------

echo
echo "jobs against their I/O floor (best of $runs at $items items, of $small_runs at $small_items;" \
  "x cp: wall against cp copying the store twice)"
printf '%-8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n' job items seconds "floor s" "x floor" "cpu s" "floor cpu" \
  "x floor" "x cp" "peak MB"
jobs_table "$items" "$runs"
jobs_table "$small_items" "$small_runs"


# ---- 3. the window ----------------------------------------------------------------------------------------------

# The window repaints at screen speed; with 100,000 items it must stay close to the headless run.
echo
if command -v xvfb-run >/dev/null; then
  make_card "$window_items"
  settings 1 1 0 0 0
  checked "$bin/nodra_mmc_trm" V /nodsp
  headless=$(best "$bin/nodra_mmc_trm" V /nodsp | cut -d' ' -f1)
  window=$(best xvfb-run -a "$bin/nodra_mmc_trm" V /show | cut -d' ' -f1)
  bare_x=$(best xvfb-run -a true | cut -d' ' -f1)
  window_net=$(echo "$window - $bare_x" | bc -l)
  printf 'window read-out of %d items: %.3f s (less %.3f s for starting X) vs headless %.3f s: %.2f x\n' \
    "$window_items" "$window" "$bare_x" "$headless" "$(echo "$window_net / $headless" | bc -l)"
fi

# ---- 4. the start-up --------------------------------------------------------------------------------------------

# A batch run that finds no terminal (an empty drives folder) ends at once with an error: what is left is
# the start-up, against a program that only constructs a QApplication.
if [ -x "$bin/bare_qapplication" ]; then
  read -r trivial trivial_cpu <<<"$(NODRA3000_DRIVES="$out/empty" best_of "$startup_runs" "$bin/nodra_mmc_trm" V /nodsp)"
  read -r bare bare_cpu <<<"$(QT_QPA_PLATFORM=offscreen best_of "$startup_runs" "$bin/bare_qapplication")"
  printf 'start-up (best of %d): headless batch run without a terminal %.3f s (cpu %.3f s)' \
    "$startup_runs" "$trivial" "$trivial_cpu"
  printf ' vs bare offscreen QApplication %.3f s (cpu %.3f s): %s x wall, %s x cpu\n' "$bare" "$bare_cpu" \
    "$(ratio "$trivial" "$bare")" "$(ratio "$trivial_cpu" "$bare_cpu")"
fi
