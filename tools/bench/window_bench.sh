#!/usr/bin/env bash
# The window's figures for two builds, measured on a private Xvfb display (Mesa's software
# renderer here) in rounds that alternate the two programs, so that both meet the same load:
#   - time from the program's start to its first frame,
#   - drawFrame time while the engine's moves are animated (median and 95th percentile),
#   - frames while the camera turns: drawFrame time, and the program's CPU time per frame,
#   - press-to-mark latency: a press on a piece until its red square is on the screen, seen
#     from outside by polling the screen (median and highest of all presses),
#   - CPU used by an idle window over 10 s, and the frames it drew meanwhile,
#   - key-to-picture latency: an arrow key tapped until the turned board is on the screen, while
#     the engine thinks (four threads, 60 s a move) and while it is idle, and their ratio.
# Each program finds its data in the share/ folder beside it (a build folder's layout).
# Usage: tools/bench/window_bench.sh [--size WxH[,WxH]] BEFORE_PROGRAM AFTER_PROGRAM [ROUNDS,
#        default 3] [keys]
#   e.g. tools/bench/window_bench.sh ../veltmark-old/build/veltmark build/veltmark
#   "keys" measures the key-to-picture latency only. The machine's load is printed with each
#   session, on standard error. --size opens the windows at that size (default 800x600), or
#   BEFORE's at the first and AFTER's at the second, through the remembered-window file; the
#   same program twice then compares two sizes side by side:
#   tools/bench/window_bench.sh --size 800x600,1600x1000 build/veltmark build/veltmark
#   The key-to-picture strip is placed for 800x600.
# The press timer is build/veltmark-press-latency (VELTMARK_PRESS_LATENCY names another).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
sizes=(800x600 800x600)
if [ "${1:-}" = --size ]; then
  IFS=, read -r -a sizes <<<"${2:-}"
  [ ${#sizes[@]} -eq 1 ] && sizes=("${sizes[0]}" "${sizes[0]}")
  shift 2
fi
if [ $# -lt 2 ] || [ ${#sizes[@]} -ne 2 ]; then
  sed -n '2,22p' "${BASH_SOURCE[0]}" >&2
  exit 2
fi
for size in "${sizes[@]}"; do
  [[ "$size" =~ ^[0-9]+x[0-9]+$ ]] || { echo "a size is WIDTHxHEIGHT, not \"$size\"" >&2; exit 2; }
done
widths=("${sizes[0]%x*}" "${sizes[1]%x*}")
heights=("${sizes[0]#*x}" "${sizes[1]#*x}")
screen_width=$((widths[0] > widths[1] ? widths[0] : widths[1]))
screen_height=$((heights[0] > heights[1] ? heights[0] : heights[1]))
programs=("$(realpath "$1")" "$(realpath "$2")")
names=(before after)
rounds=${3:-3}
only=${4:-all}
press_latency="${VELTMARK_PRESS_LATENCY:-$root/build/veltmark-press-latency}"
[ -x "$press_latency" ] || { echo "build $press_latency first" >&2; exit 2; }
work="$(mktemp -d)"
number=$((400 + RANDOM % 400))
while [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
display=":$number"

Xvfb "$display" -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp -noreset >"$work/xvfb.txt" 2>&1 &
xvfb=$!
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
  DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>&1 || {
  echo "the virtual display $display did not start" >&2
  exit 1
}

# A settings file: who plays White and Black (0 human, 1 engine), the thinking time as the
# eight little-endian bytes of a double and the search threads (default 2); the rest are the
# defaults.
settings_file() {
  local white=$1 black=$2 seconds=$3 threads=${4:-2}
  printf "\\x0$white\\x00\\x00\\x00\\x0$black\\x00\\x00\\x00\\x64\\x00\\x00\\x00\\x00\\x00\\x00\\x00"
  printf "$seconds"
  printf "\\x01\\x0$threads\\x00\\x00\\x00\\x00\\x00\\x00\\x9a\\x99\\x99\\x99\\x99\\x99\\xb9\\x3f"
  printf '\x01\xc0\xc0\xc0\xff\x40\x20\x10\xff\x00\x00\x00\x00\x00\x00\x00'
}
# 0.3, 15.0 and 60.0 as doubles.
point_three='\x33\x33\x33\x33\x33\x33\xd3\x3f'
fifteen='\x00\x00\x00\x00\x00\x00\x2e\x40'
sixty='\x00\x00\x00\x00\x00\x00\x4e\x40'

# start_program WHICH FOLDER: started_ms and program_pid are set.
start_program() {
  local program=${programs[$1]} directory=$2
  mkdir -p "$directory/home/.config/veltmark"
  printf 'width %s\nheight %s\n' "${widths[$1]}" "${heights[$1]}" \
    >"$directory/home/.config/veltmark/window.conf"
  started_ms=$(date +%s%3N)
  (cd "$directory" && DISPLAY="$display" HOME="$directory/home" \
    XDG_DATA_DIRS="$(dirname "$program")/share" VELTMARK_FRAME_TIMES="$directory/frames.txt" \
    exec "$program" >"$directory/output.txt" 2>&1) &
  program_pid=$!
}
stop_program() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}
alive() {
  if ! kill -0 "$program_pid" 2>/dev/null; then
    echo "the program ended early:" >&2
    cat "$1/output.txt" >&2
    kill -0 "$xvfb" 2>/dev/null || { echo "the virtual display has ended:" >&2; cat "$work/xvfb.txt" >&2; }
    exit 1
  fi
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Median and 95th percentile (or highest, with "max") of the numbers in a file, one a line.
median() { sort -n "$1" | awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : "-"}'; }
p95() { sort -n "$1" | awk '{v[NR] = $1} END {i = int((NR * 95 + 99) / 100); print NR ? v[i] : "-"}'; }
highest() { sort -n "$1" | tail -n 1; }

# The screen places of a2 ... h2 and a3 ... h3, and of the White pieces on the first rank, with
# the camera as the program starts in an 800 x 600 window.
second=(192:429 252:429 311:429 370:429 430:429 489:429 548:429 608:429)
third=(203:373 260:373 316:373 372:373 428:373 484:373 540:373 597:373)
first=(180:491 243:491 306:491 369:491 431:491 494:491 557:491 620:491)
# at WHICH X:Y: "X Y" in WHICH's window. Wider than 4:3, the picture keeps its vertical field of
# view, so it scales by the height about the window's centre.
at() {
  local w=${widths[$1]} h=${heights[$1]} x=${2%:*} y=${2#*:}
  echo "$((w / 2 + (x - 400) * h / 600)) $((h / 2 + (y - 300) * h / 600))"
}

# A human's pawn moves by mouse, the engine answers in 0.3 s and its moves slide in.
play_session() {
  local which=$1 directory=$2
  mkdir -p "$directory"
  settings_file 0 1 "$point_three" >"$directory/settings.dat"
  start_program "$which" "$directory"
  sleep 4
  alive "$directory"
  # Without a window manager the keys go to the window under the pointer.
  DISPLAY="$display" xdotool mousemove 10 10 key Escape
  sleep 1
  for file in 0 7 1 6 2 5; do
    DISPLAY="$display" xdotool mousemove $(at "$which" "${second[$file]}") mousedown 1
    sleep 0.2
    DISPLAY="$display" xdotool mousemove $(at "$which" "${third[$file]}") mouseup 1
    sleep 1.5
  done
  stop_program
  local first_ms
  first_ms=$(head -n 1 "$directory/frames.txt" | cut -d' ' -f1)
  echo $((first_ms - started_ms)) >>"$work/${names[$which]}-start.txt"
  awk '$3 == 1 {printf "%.1f\n", $2 / 1000}' "$directory/frames.txt" \
    >>"$work/${names[$which]}-animated.txt"
}

# Human against human, the settings dialog closed: the window as a player first sees it.
open_human_game() {
  local which=$1 directory=$2
  mkdir -p "$directory"
  settings_file 0 0 "$fifteen" >"$directory/settings.dat"
  start_program "$which" "$directory"
  sleep 4
  alive "$directory"
  # Without a window manager the keys go to the window under the pointer.
  DISPLAY="$display" xdotool mousemove 10 10 key Escape
  sleep 1
}

# Human against human: the left-arrow key held for 6 s turns the camera with every key repeat,
# so frames follow each other as fast as they are drawn. No engine thinks meanwhile, so the
# program's CPU time per frame is the frame's own cost, which a loaded machine stretches less
# than the frame's wall-clock time.
camera_session() {
  local which=$1 directory=$2
  open_human_game "$which" "$directory"
  local frames_before ticks_before since
  since=$(date +%s%3N)
  frames_before=$(wc -l <"$directory/frames.txt")
  ticks_before=$(cpu_ticks "$program_pid")
  DISPLAY="$display" xdotool keydown Left
  sleep 6
  DISPLAY="$display" xdotool keyup Left
  sleep 1
  local frames=$(($(wc -l <"$directory/frames.txt") - frames_before))
  local ticks=$(($(cpu_ticks "$program_pid") - ticks_before))
  alive "$directory"
  stop_program
  awk -v from="$since" '$1 >= from {printf "%.1f\n", $2 / 1000}' "$directory/frames.txt" \
    >>"$work/${names[$which]}-turning.txt"
  echo "$ticks $frames" >>"$work/${names[$which]}-turning-cpu.txt"
}

# Human against human: presses on White's pieces, then the idle window for 10 s.
press_and_idle_session() {
  local which=$1 directory=$2
  open_human_game "$which" "$directory"
  local square
  for square in "${second[@]:0:6}" "${first[@]:0:6}"; do
    if ! DISPLAY="$display" "$press_latency" $(at "$which" "$square") >>"$work/${names[$which]}-press.txt"
    then
      echo "${names[$which]}: no mark after a press on $square" >&2
    fi
  done
  DISPLAY="$display" xdotool mousemove $((widths[which] / 2)) 5
  sleep 2
  local ticks_before ticks_after since
  since=$(date +%s%3N)
  ticks_before=$(cpu_ticks "$program_pid")
  sleep 10
  ticks_after=$(cpu_ticks "$program_pid")
  alive "$directory"
  awk -v t=$((ticks_after - ticks_before)) -v h="$(getconf CLK_TCK)" \
    'BEGIN {printf "%.2f\n", 100 * t / h / 10}' >>"$work/${names[$which]}-idle-cpu.txt"
  awk -v from="$since" '$1 >= from' "$directory/frames.txt" | wc -l \
    >>"$work/${names[$which]}-idle-frames.txt"
  stop_program
}

# Arrow-key taps, each until the turned board is on the screen, seen from outside. "thinking":
# White is the engine with the default four threads and 60 s a move, so it thinks through all
# the taps; "idle": two humans, the same threads and time.
key_session() {
  local which=$1 directory=$2 mode=$3
  mkdir -p "$directory"
  settings_file "$([ "$mode" = thinking ] && echo 1 || echo 0)" 0 "$sixty" 4 \
    >"$directory/settings.dat"
  start_program "$which" "$directory"
  sleep 4
  alive "$directory"
  # Without a window manager the keys go to the window under the pointer.
  DISPLAY="$display" xdotool mousemove 10 10 key Escape
  sleep 2
  echo "  keys, $mode: load $(cut -d' ' -f1-3 /proc/loadavg)" >&2
  local tap
  for tap in $(seq 12); do
    if ! DISPLAY="$display" "$press_latency" --key Left \
      >>"$work/${names[$which]}-key-$mode.txt"; then
      echo "${names[$which]}: the picture did not turn after a key ($mode)" >&2
    fi
    sleep 0.3
  done
  alive "$directory"
  stop_program
}

for round in $(seq "$rounds"); do
  # Who goes first changes from round to round.
  for which in $(if [ $((round % 2)) -eq 1 ]; then echo 0 1; else echo 1 0; fi); do
    echo "round $round: ${names[$which]} (${programs[$which]}), load $(cut -d' ' -f1-3 /proc/loadavg)" >&2
    if [ "$only" != keys ]; then
      play_session "$which" "$work/play-$round-$which"
      camera_session "$which" "$work/camera-$round-$which"
      press_and_idle_session "$which" "$work/press-$round-$which"
    fi
    for mode in $(if [ $((round % 2)) -eq 1 ]; then echo thinking idle; else echo idle thinking; fi); do
      key_session "$which" "$work/keys-$round-$which-$mode" "$mode"
    done
  done
done

echo "== $rounds rounds, alternating; before: ${programs[0]} at ${sizes[0]}, after: ${programs[1]} at ${sizes[1]}"
printf '%-36s %12s %12s %8s\n' "" before after ratio
row() {
  local label=$1 a=$2 b=$3
  printf '%-36s %12s %12s %8s\n' "$label" "$a" "$b" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN {if (a + 0 > 0) printf "%.2f", b / a; else print "-"}')"
}
for n in 0 1; do
  touch "$work/${names[$n]}-animated.txt" "$work/${names[$n]}-press.txt" \
    "$work/${names[$n]}-turning.txt" "$work/${names[$n]}-key-thinking.txt" \
    "$work/${names[$n]}-key-idle.txt"
done
key_ratio() {
  awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN {if (a + 0 > 0) printf "%.2f", b / a; else print "-"}'
}
row "key to picture, idle, median (ms)" "$(median "$work/before-key-idle.txt")" \
  "$(median "$work/after-key-idle.txt")"
row "key to picture, thinking, median (ms)" "$(median "$work/before-key-thinking.txt")" \
  "$(median "$work/after-key-thinking.txt")"
row "key to picture, thinking / idle" "$(key_ratio "$work/before-key-idle.txt" \
  "$work/before-key-thinking.txt")" "$(key_ratio "$work/after-key-idle.txt" \
  "$work/after-key-thinking.txt")"
row "keys measured, thinking + idle" \
  "$(cat "$work/before-key-thinking.txt" "$work/before-key-idle.txt" | wc -l)" \
  "$(cat "$work/after-key-thinking.txt" "$work/after-key-idle.txt" | wc -l)"
if [ "$only" = keys ]; then
  exit 0
fi
cpu_per_frame() {
  awk -v h="$(getconf CLK_TCK)" '{t += $1; f += $2} END {if (f) printf "%.1f", 1000 * t / h / f}' "$1"
}
row "animated frame, median (ms)" "$(median "$work/before-animated.txt")" \
  "$(median "$work/after-animated.txt")"
row "animated frame, 95th percentile (ms)" "$(p95 "$work/before-animated.txt")" \
  "$(p95 "$work/after-animated.txt")"
row "animated frames counted" "$(wc -l <"$work/before-animated.txt")" \
  "$(wc -l <"$work/after-animated.txt")"
row "turning camera: frame, median (ms)" "$(median "$work/before-turning.txt")" \
  "$(median "$work/after-turning.txt")"
row "turning camera: frame, 95th pct (ms)" "$(p95 "$work/before-turning.txt")" \
  "$(p95 "$work/after-turning.txt")"
row "turning camera: CPU per frame (ms)" "$(cpu_per_frame "$work/before-turning-cpu.txt")" \
  "$(cpu_per_frame "$work/after-turning-cpu.txt")"
row "press to mark, median (ms)" "$(median "$work/before-press.txt")" \
  "$(median "$work/after-press.txt")"
row "press to mark, highest (ms)" "$(highest "$work/before-press.txt")" \
  "$(highest "$work/after-press.txt")"
row "presses measured" "$(wc -l <"$work/before-press.txt")" "$(wc -l <"$work/after-press.txt")"
row "idle CPU, mean (% of one core)" \
  "$(awk '{s += $1} END {printf "%.2f", s / NR}' "$work/before-idle-cpu.txt")" \
  "$(awk '{s += $1} END {printf "%.2f", s / NR}' "$work/after-idle-cpu.txt")"
row "frames drawn in 10 s idle, total" \
  "$(awk '{s += $1} END {print s}' "$work/before-idle-frames.txt")" \
  "$(awk '{s += $1} END {print s}' "$work/after-idle-frames.txt")"
row "start to first frame, median (ms)" "$(median "$work/before-start.txt")" \
  "$(median "$work/after-start.txt")"
