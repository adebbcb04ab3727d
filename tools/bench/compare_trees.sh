#!/usr/bin/env bash
# Checks that two builds of veltmark-bench search the same trees: one-thread searches of varied
# positions (openings, middlegames, endings, checks, en passant, promotions, castling, a position
# with very many moves) to fixed depths, with and without the exchange evaluation. Every progress
# line (depth, score, node count, best move) and the chosen move must agree; the times may not.
# Usage: compare_trees.sh <old veltmark-bench> <new veltmark-bench>
set -euo pipefail
old="$1"
new="$2"
cases=(
  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|6"
  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1|5"
  "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3|5"
  "r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9|5"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|4"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1|4"
  "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 20 10|4"
  "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 0 11|5"
  "rnbqk1nr/pppp1ppp/8/4p3/1b1P4/5N2/PPP1PPPP/RNBQKB1R w KQkq - 2 3|5"
  "r1b1kb1r/pppp1ppp/5q2/4n3/3KP3/2N3PN/PPP4P/R1BQ1B1R b kq - 0 1|5"
  "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3|5"
  "rnbqkbnr/pppp1ppp/8/8/3PpP2/8/PPP1P1PP/RNBQKBNR b KQkq f3 0 3|5"
  "3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1|7"
  "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1|4"
  "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8|4"
  "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1|4"
  "r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1|4"
  "8/8/2k5/5q2/5n2/8/5K2/8 b - - 0 1|6"
  "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1|7"
  "8/1P6/8/8/8/k7/6p1/4K3 w - - 0 1|7"
  "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1|5"
  "8/8/4kpp1/3p4/p6P/2B4b/6P1/6K1 w - - 0 1|8"
  "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1|10"
  "8/8/4k3/8/2R5/8/4K3/8 w - - 96 1|7"
  "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1|5"
  "1q1q1q1k/q1q1q1q1/1q1q1q1q/8/8/Q1Q1Q1Q1/1Q1Q1Q1Q/K1Q1Q1Q1 w - - 0 1|3"
)
run() {
  "$1" search "$2" --depth "$3" --threads 1 --see "$4" | sed -e 's/ ms [0-9]*//'
}
failed=0
for entry in "${cases[@]}"; do
  fen="${entry%|*}"
  depth="${entry#*|}"
  for see in 1 0; do
    if ! diff <(run "$old" "$fen" "$depth" "$see") <(run "$new" "$fen" "$depth" "$see") >/dev/null; then
      echo "differ: $fen depth $depth see $see" >&2
      diff <(run "$old" "$fen" "$depth" "$see") <(run "$new" "$fen" "$depth" "$see") >&2 || true
      failed=1
    fi
  done
done
if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "same trees: ${#cases[@]} positions, with and without the exchange evaluation"
