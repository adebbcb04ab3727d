#!/usr/bin/env bash
# Times one-thread searches to fixed depths and perft 6 with two builds of veltmark-bench, in
# turns within one run, so that machine load falls on both alike. Times are the processor time
# of each process (user + system), which waiting for a busy machine does not inflate. Each round
# prints the summed search time of each build and their ratio; the end prints the medians. The
# builds must agree on every search's move, score and node count, or the script stops.
# Usage: compare_search.sh <old veltmark-bench> <new veltmark-bench> [rounds]
set -euo pipefail
old="$1"
new="$2"
rounds="${3:-5}"
cases=(
  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|7"
  "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3|6"
  "r1bq1rk1/pp2nppp/2n1p3/3pP3/1b1P4/2NB1N2/PP3PPP/R1BQK2R w KQ - 0 9|6"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|5"
  "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10|5"
  "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 0 11|6"
  "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1|8"
  "8/8/4kpp1/3p4/p6P/2B4b/6P1/6K1 w - - 0 1|9"
  "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1|12"
)

# Runs a command; prints its last output line, then its processor time in milliseconds.
timed() {
  local out cpu
  exec 3>&1
  cpu=$( { TIMEFORMAT='%3U %3S'; time "$@" | tail -n 1 >&3; } 2>&1 )
  exec 3>&-
  awk '{ printf "%d\n", ($1 + $2) * 1000 }' <<<"$cpu"
}

# Prints "<ms> <move score depth nodes>" of one search.
search() {
  local out
  out=$(timed "$1" search "$2" --depth "$3" --threads 1)
  awk 'NR == 1 { result = $2 " " $4 " " $6 " " $8 } NR == 2 { print $1, result }' <<<"$out"
}

perft_ms() {
  local out
  out=$(timed "$1" perft-speed)
  tail -n 1 <<<"$out"
}

search_ratios=()
perft_ratios=()
for round in $(seq "$rounds"); do
  old_ms=0
  new_ms=0
  for entry in "${cases[@]}"; do
    fen="${entry%|*}"
    depth="${entry#*|}"
    # Alternate which build goes first, so neither always runs on a warmer machine.
    if ((round % 2)); then
      a=$(search "$old" "$fen" "$depth")
      b=$(search "$new" "$fen" "$depth")
    else
      b=$(search "$new" "$fen" "$depth")
      a=$(search "$old" "$fen" "$depth")
    fi
    if [[ "${a#* }" != "${b#* }" ]]; then
      echo "the builds disagree on $fen depth $depth: old ${a#* }, new ${b#* }" >&2
      exit 1
    fi
    old_ms=$((old_ms + ${a%% *}))
    new_ms=$((new_ms + ${b%% *}))
  done
  old_perft=$(perft_ms "$old")
  new_perft=$(perft_ms "$new")
  search_ratio=$(echo "$old_ms / $new_ms" | bc -l)
  perft_ratio=$(echo "$old_perft / $new_perft" | bc -l)
  search_ratios+=("$search_ratio")
  perft_ratios+=("$perft_ratio")
  printf 'round %d: search old %d ms, new %d ms, speed-up %.2fx; perft 6 old %d ms, new %d ms, speed-up %.2fx\n' \
    "$round" "$old_ms" "$new_ms" "$search_ratio" "$old_perft" "$new_perft" "$perft_ratio"
done

median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
printf 'median speed-up over %d rounds: search %.2fx, perft 6 %.2fx\n' "$rounds" \
  "$(median "${search_ratios[@]}")" "$(median "${perft_ratios[@]}")"
