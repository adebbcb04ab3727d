#!/usr/bin/env bash
# Plays a short match in the real xboard GUI, on a private Xvfb display, between Veltmark and
# fairymax, and checks the saved PGN: every game has a result, none ended by a fault of either
# engine, and Veltmark's moves are in it.
#   xboard_match.sh [--uci] <veltmark binary> <output dir> [games] [xboard time options...]
# With --uci Veltmark plays as a UCI engine through Debian's polyglot, which speaks xboard to
# the GUI; polyglot's log of the UCI traffic is kept beside the PGN and checked too.
set -euo pipefail

uci=false
if [ "${1:-}" = "--uci" ]; then
  uci=true
  shift
fi
# The engines run in a folder of their own.
veltmark="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
outdir="$2"
games="${3:-2}"
shift $(($# < 3 ? $# : 3))
# Short by default: three plies deep, under xboard's own 40 moves in 5 minutes clock.
timeOptions=("$@")
if [ ${#timeOptions[@]} -eq 0 ]; then
  timeOptions=(-depth 3)
fi

tools=(/usr/bin/Xvfb /usr/games/xboard /usr/games/fairymax)
if $uci; then
  tools+=(/usr/games/polyglot)
fi
for tool in "${tools[@]}"; do
  if [ ! -x "$tool" ]; then
    echo "missing $tool (scripts/install-dependencies.sh installs it)" >&2
    exit 1
  fi
done

mkdir -p "$outdir"
work="$(mktemp -d)"
xvfbPid=""
cleanup() {
  if [ -n "$xvfbPid" ]; then
    kill "$xvfbPid" 2>/dev/null || true
    wait "$xvfbPid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and tells it through the descriptor.
exec 3>"$work/display"
/usr/bin/Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfbPid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display="$(tr -d '\n' <"$work/display")"
if [ -z "$display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

name="xboard-match"
firstEngine="$veltmark --xboard"
if $uci; then
  name="uci-match"
  firstEngine="/usr/games/polyglot $work/veltmark-uci.ini"
  polyglotLog="$outdir/$name.polyglot.log"
  cat >"$work/veltmark-uci.ini" <<INI
[PolyGlot]
EngineCommand = $veltmark --uci
EngineDir = $work
Log = true
LogFile = $polyglotLog
[Engine]
INI
fi
pgn="$outdir/$name.pgn"
debugLog="$outdir/$name.debug"
rm -f "$pgn" "$debugLog" "${polyglotLog:-}"
# xboard keeps its settings in HOME; a private one leaves the user's alone. On a loaded machine
# the GUI may fail to reach the fresh display; that (and only that) is tried once more.
# The match runs at the lowest priority, as the window runs its engine: beside the window tests,
# two engines at full priority would take the processors from the window's for as long as the
# game lasts.
for attempt in 1 2; do
  status=0
  DISPLAY=":$display" HOME="$work" nice -n 19 timeout $((games * 600)) /usr/games/xboard \
    -fcp "$firstEngine" -fd "$work" -scp /usr/games/fairymax -sd "$work" \
    -mg "$games" -sgf "$pgn" "${timeOptions[@]}" -xponder -xexit -saveSettingsOnExit false \
    -debug -nameOfDebugFile "$debugLog" >"$work/xboard.log" 2>&1 || status=$?
  if [ "$status" -eq 0 ] || ! grep -qi "open display" "$work/xboard.log"; then
    break
  fi
  echo "xboard could not open the display (attempt $attempt)" >&2
  sleep 1
done
if [ "$status" -ne 0 ]; then
  echo "xboard ended with status $status" >&2
  tail -20 "$work/xboard.log" >&2
  exit 1
fi

fail=0
results="$(grep -c '^\[Result "\(1-0\|0-1\|1/2-1/2\)"\]' "$pgn" || true)"
if [ "$results" -ne "$games" ]; then
  echo "expected $games games with a result, found $results" >&2
  fail=1
fi
veltmarkGames="$(grep -c '^\[\(White\|Black\) "Veltmark[^"]*"\]' "$pgn" || true)"
if [ "$veltmarkGames" -ne "$games" ]; then
  echo "Veltmark played in $veltmarkGames of $games games" >&2
  fail=1
fi
# Endings that a protocol fault would produce: an illegal or rejected move, a time forfeit, an
# engine that died or hung.
if grep -i -E 'illegal|forfeit|on time|time out|exited|disconnect|crash|stalled' "$pgn" >&2; then
  fail=1
fi
veltmarkMoves="$(grep -c '^[0-9]* <first : move ' "$debugLog" || true)"
if [ "$veltmarkMoves" -lt "$games" ]; then
  echo "Veltmark made $veltmarkMoves moves" >&2
  fail=1
fi
if $uci; then
  # A command the engine refused (an option, a position, a move, a go argument) would part its
  # game from the GUI's; those are answered with these info strings.
  refusals='Unknown command|No option|setoption needs|must be|position needs|Cannot read|The move|go:'
  if grep -E "Engine->Adapter: info string ($refusals)" "$polyglotLog" >&2; then
    fail=1
  fi
  bestMoves="$(grep -c 'Engine->Adapter: bestmove ' "$polyglotLog" || true)"
  echo "UCI best moves: $bestMoves; polyglot's log: $polyglotLog"
  if [ "$bestMoves" -lt "$veltmarkMoves" ]; then
    echo "fewer best moves than moves" >&2
    fail=1
  fi
fi
grep '^\[\(White\|Black\|Result\) ' "$pgn" | paste - - - || true
echo "Veltmark moves: $veltmarkMoves; PGN: $pgn"
if [ "$fail" -ne 0 ]; then
  cat "$pgn" >&2
fi
exit "$fail"
