#!/usr/bin/env bash
# The window's figures, measured on a private Xvfb display (Mesa's software renderer here):
#   - time from the program's start to its first frame,
#   - drawFrame time while the engine's moves are animated (median and 95th percentile),
#   - CPU used by an idle window over 10 s, and resident memory.
# Usage: tools/bench/window_bench.sh [build folder, default build]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
program="$build/veltmark"
work="$(mktemp -d)"
display=":$((400 + RANDOM % 400))"

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do
  DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

# A settings file: who plays White and Black (0 human, 1 engine) and the thinking time as the
# eight little-endian bytes of a double; the rest are the defaults.
settings_file() {
  local white=$1 black=$2 seconds=$3
  printf "\\x0$white\\x00\\x00\\x00\\x0$black\\x00\\x00\\x00\\x64\\x00\\x00\\x00\\x00\\x00\\x00\\x00"
  printf "$seconds"
  printf '\x01\x02\x00\x00\x00\x00\x00\x00\x9a\x99\x99\x99\x99\x99\xb9\x3f'
  printf '\x01\xc0\xc0\xc0\xff\x40\x20\x10\xff\x00\x00\x00\x00\x00\x00\x00'
}
# 0.3 and 15.0 as doubles.
point_three='\x33\x33\x33\x33\x33\x33\xd3\x3f'
fifteen='\x00\x00\x00\x00\x00\x00\x2e\x40'

start_program() {
  local directory=$1
  mkdir -p "$directory/home"
  started_ms=$(date +%s%3N)
  (cd "$directory" && DISPLAY="$display" HOME="$directory/home" \
    XDG_DATA_DIRS="$build/share" VELTMARK_FRAME_TIMES="$directory/frames.txt" \
    exec "$program" >"$directory/output.txt" 2>&1) &
  program_pid=$!
  pids+=("$program_pid")
}

alive() {
  if ! kill -0 "$1" 2>/dev/null; then
    echo "the program ended early:" >&2
    cat "$2/output.txt" >&2
    exit 1
  fi
}
resident_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

echo "== a human's pawn moves by mouse, the engine answers in 0.3 s and its moves slide in"
mkdir -p "$work/play"
settings_file 0 1 "$point_three" >"$work/play/settings.dat"
start_program "$work/play"
sleep 4
alive "$program_pid" "$work/play"
DISPLAY="$display" xdotool key Escape
sleep 1
# The screen places of a2 ... h2 and a3 ... h3 with the camera as the program starts.
second=(192:429 252:429 311:429 370:429 430:429 489:429 548:429 608:429)
third=(203:373 260:373 316:373 372:373 428:373 484:373 540:373 597:373)
for file in 0 7 1 6 2 5; do
  DISPLAY="$display" xdotool mousemove ${second[$file]/:/ } mousedown 1
  sleep 0.2
  DISPLAY="$display" xdotool mousemove ${third[$file]/:/ } mouseup 1
  sleep 1.5
done
play_rss=$(resident_kib "$program_pid")
kill "$program_pid"
first_ms=$(head -n 1 "$work/play/frames.txt" | cut -d' ' -f1)
echo "start to first frame: $((first_ms - started_ms)) ms"
awk '$3 == 1 {print $2}' "$work/play/frames.txt" | sort -n >"$work/animated.txt"
count=$(wc -l <"$work/animated.txt")
if [ "$count" -gt 0 ]; then
  median=$(sed -n "$(((count + 1) / 2))p" "$work/animated.txt")
  p95=$(sed -n "$(((count * 95 + 99) / 100))p" "$work/animated.txt")
  echo "drawFrame while animating: median $((median / 1000)).$(((median % 1000) / 100)) ms," \
       "95th percentile $((p95 / 1000)).$(((p95 % 1000) / 100)) ms over $count frames"
fi
echo "resident memory while playing: $((play_rss / 1024)) MiB"

echo "== idle window: human against human, settings dialog closed, 10 s"
mkdir -p "$work/idle"
settings_file 0 0 "$fifteen" >"$work/idle/settings.dat"
start_program "$work/idle"
sleep 3
alive "$program_pid" "$work/idle"
DISPLAY="$display" xdotool key Escape
sleep 2
ticks_before=$(cpu_ticks "$program_pid")
sleep 10
ticks_after=$(cpu_ticks "$program_pid")
idle_rss=$(resident_kib "$program_pid")
hertz=$(getconf CLK_TCK)
echo "CPU of the idle window: $(awk -v t=$((ticks_after - ticks_before)) -v h="$hertz" \
  'BEGIN {printf "%.2f", 100 * t / h / 10}') % of one core"
frames_idle=$(awk -v from="$(($(date +%s%3N) - 10000))" '$1 >= from' "$work/idle/frames.txt" | wc -l)
echo "frames drawn in the last 10 s: $frames_idle"
echo "resident memory when idle: $((idle_rss / 1024)) MiB"
kill "$program_pid"
