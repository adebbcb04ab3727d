#!/usr/bin/env bash
# Times perft 6 of the starting position and perft 5 of the castling, promotion and en-passant
# rich position as whole processes, veltmark-bench and Debian's stockfish in turns, and prints
# the processor time (user + system) of each run and the medians with their ratio.
# Usage: compare_perft.sh [path to veltmark-bench] [rounds, default 7]
set -euo pipefail
bench="${1:-build/veltmark-bench}"
rounds="${2:-7}"
stockfish="$(command -v stockfish || echo /usr/games/stockfish)"
if [ ! -x "$stockfish" ]; then
  echo "compare_perft.sh needs Debian's stockfish: apt-get install stockfish" >&2
  exit 2
fi
cases=(
  "startpos|rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|6|119060324"
  "kiwipete|r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|5|193690690"
)

# Runs a command with its output checked by grep; prints its processor time in milliseconds.
cpu_ms() {
  local pattern=$1
  shift
  local times
  times=$( { TIMEFORMAT='%3U %3S'; time "$@" | grep -q "$pattern"; } 2>&1 )
  awk '{ printf "%d\n", ($1 + $2) * 1000 }' <<<"$times"
}
ours() { "$bench" perft "$1" "$2"; }
theirs() { printf 'position fen %s\ngo perft %s\nquit\n' "$1" "$2" | "$stockfish"; }
median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

for entry in "${cases[@]}"; do
  IFS='|' read -r name fen depth nodes <<<"$entry"
  our_ms=()
  their_ms=()
  for round in $(seq "$rounds"); do
    # Alternate which program goes first.
    if ((round % 2)); then
      a=$(cpu_ms "^$nodes\$" ours "$fen" "$depth")
      b=$(cpu_ms "Nodes searched: $nodes" theirs "$fen" "$depth")
    else
      b=$(cpu_ms "Nodes searched: $nodes" theirs "$fen" "$depth")
      a=$(cpu_ms "^$nodes\$" ours "$fen" "$depth")
    fi
    our_ms+=("$a")
    their_ms+=("$b")
    printf '%s perft %s round %d: veltmark %d ms, stockfish %d ms\n' "$name" "$depth" "$round" "$a" "$b"
  done
  m_ours=$(median "${our_ms[@]}")
  m_theirs=$(median "${their_ms[@]}")
  printf '%s perft %s, median of %d: veltmark %s ms, stockfish %s ms, ratio %.2f\n' "$name" \
    "$depth" "$rounds" "$m_ours" "$m_theirs" "$(echo "$m_ours / $m_theirs" | bc -l)"
done
