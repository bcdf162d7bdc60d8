#!/usr/bin/env bash
# Measures the program's CPU time and peak memory while it polls the simulator; then the main
# window's CPU time with empty and with full traffic lists (1000 lines each), in one process.
# Usage: tools/bench/poll.sh [seconds] [build dir]   (defaults: 60, build)
set -euo pipefail
cd "$(dirname "$0")/../.."
sekunden=${1:-60}
build=${2:-build}
prog="$build/src/MiniQuorvel"
sim="$build/tools/quorvel-sim"
[ -x "$prog" ] && [ -x "$sim" ] || { echo "build first: bash scripts/build.sh $build" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'kill $simpid $progpid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$tmp"' EXIT
com=97
"$sim" --ordner "$build/src" --com $com > "$tmp/sim.log" 2>&1 &
simpid=$!
for _ in $(seq 50); do grep -q "Link:" "$tmp/sim.log" && break; sleep 0.1; done

# A user store of its own, so the bench never touches the real one.
mkdir -p "$tmp/config/ZIR"
printf '[General]\nCOMPORT=COM%s\nQorAdresse=0600\nEcho=0\n' $com > "$tmp/config/ZIR/MiniQuorvel.conf"
XDG_CONFIG_HOME="$tmp/config" QT_QPA_PLATFORM=offscreen "$prog" > "$tmp/prog.log" 2>&1 &
progpid=$!
sleep 3
takt=$(getconf CLK_TCK)
cpu0=$(awk '{print $14 + $15}' /proc/$progpid/stat)
frames0=$(grep -c " <- " "$tmp/sim.log" || true)
sleep "$sekunden"
cpu1=$(awk '{print $14 + $15}' /proc/$progpid/stat)
frames1=$(grep -c " <- " "$tmp/sim.log" || true)
hwm=$(awk '/VmHWM/ {print $2}' /proc/$progpid/status)
awk -v c=$((cpu1 - cpu0)) -v t="$takt" -v s="$sekunden" -v f=$((frames1 - frames0)) -v m="$hwm" 'BEGIN {
  printf "polling %d s: %d frames answered, CPU %.3f s = %.3f %% of one core, peak memory %.1f MB\n",
         s, f, c / t, 100 * c / t / s, m / 1024 }'

bench="$build/tools/bench/mq-bench-poll"
if [ -x "$bench" ]; then
  "$bench" "$sekunden" 2>/dev/null
else
  echo "no $bench: the run with full lists is left out" >&2
fi
