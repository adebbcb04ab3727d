#!/usr/bin/env bash
# The engine face's search speed for two builds of veltmark, in turns within one run so that the
# machine's load falls on both alike: each turn sends "sd DEPTH" and "go" from the starting
# position with the default four search threads, and takes the nodes and centiseconds of the
# last thinking line. Prints each turn, the nice values of the engine's threads while it
# searched, and the median nodes per second of each build with their ratio.
# Usage: tools/bench/xboard_search_speed.sh BEFORE_PROGRAM AFTER_PROGRAM [ROUNDS, default 5]
#        [DEPTH, default 7]
set -euo pipefail
if [ $# -lt 2 ]; then
  sed -n '2,8p' "${BASH_SOURCE[0]}" >&2
  exit 2
fi
programs=("$(realpath "$1")" "$(realpath "$2")")
names=(before after)
rounds=${3:-5}
depth=${4:-7}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# search PROGRAM: prints "NODES CENTISECONDS NICE_VALUES".
search() {
  local line last nice=""
  coproc ENGINE { cd "$work" && exec "$1" --xboard; }
  printf 'xboard\nprotover 2\nnew\npost\nst 1000\nsd %s\ngo\n' "$depth" >&"${ENGINE[1]}"
  while read -r line <&"${ENGINE[0]}"; do
    case $line in
      move*) break ;;
      [0-9]*)
        last=$line
        [ -n "$nice" ] || nice=$(awk '{print $19}' /proc/"$ENGINE_PID"/task/*/stat | sort -u | paste -sd,)
        ;;
    esac
  done
  printf 'quit\n' >&"${ENGINE[1]}"
  wait "$ENGINE_PID" || true
  awk -v nice="$nice" '{print $4, $3, nice}' <<<"$last"
}

for round in $(seq "$rounds"); do
  for which in $(if [ $((round % 2)) -eq 1 ]; then echo 0 1; else echo 1 0; fi); do
    read -r nodes centiseconds nice < <(search "${programs[$which]}")
    nps=$(awk -v n="$nodes" -v c="$centiseconds" 'BEGIN {printf "%d", (c > 0 ? n * 100 / c : 0)}')
    echo "$nps" >>"$work/${names[$which]}.txt"
    echo "round $round ${names[$which]}: $nodes nodes in $centiseconds cs, $nps nodes/s," \
      "threads' nice values $nice, load $(cut -d' ' -f1-3 /proc/loadavg)"
  done
done
median() { sort -n "$1" | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
before=$(median "$work/before.txt")
after=$(median "$work/after.txt")
echo "median nodes/s: before $before, after $after, ratio" \
  "$(awk -v a="$before" -v b="$after" 'BEGIN {printf "%.3f", b / a}')"
