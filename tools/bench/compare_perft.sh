#!/usr/bin/env bash
# Times perft 6 of the starting position as whole processes, veltmark-bench and Debian's
# stockfish in turns, and prints the best wall time of each and their ratio.
# Usage: compare_perft.sh [path to veltmark-bench] [rounds]
set -euo pipefail
bench="${1:-build/veltmark-bench}"
rounds="${2:-3}"
stockfish="$(command -v stockfish || echo /usr/games/stockfish)"
if [ ! -x "$stockfish" ]; then
  echo "compare_perft.sh needs Debian's stockfish: apt-get install stockfish" >&2
  exit 2
fi
now() { date +%s.%N; }
best_ours=1000000
best_theirs=1000000
for _ in $(seq "$rounds"); do
  start=$(now)
  "$bench" perft-speed | grep -q '^nodes 119060324$'
  ours=$(echo "$(now) - $start" | bc -l)
  start=$(now)
  printf 'position startpos\ngo perft 6\nquit\n' | "$stockfish" | grep -q 'Nodes searched: 119060324'
  theirs=$(echo "$(now) - $start" | bc -l)
  printf 'veltmark %.3f s   stockfish %.3f s\n' "$ours" "$theirs"
  best_ours=$(echo "if ($ours < $best_ours) $ours else $best_ours" | bc -l)
  best_theirs=$(echo "if ($theirs < $best_theirs) $theirs else $best_theirs" | bc -l)
done
printf 'best: veltmark %.3f s, stockfish %.3f s, ratio %.2f\n' "$best_ours" "$best_theirs" \
  "$(echo "$best_ours / $best_theirs" | bc -l)"
