#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite: the Release build with every test
# (unit tests, transcripts of the real program, a match in Debian's xboard against fairymax, the
# window driven on a private display), then the threaded engine, xboard, UCI and window
# game-flow tests under ThreadSanitizer and the unit tests under AddressSanitizer +
# UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
scripts/install-dependencies.sh --tests

jobs="$(nproc)"
started=$SECONDS
stage() { printf '== %s (at %d s)\n' "$1" $((SECONDS - started)); }

# The suite's trees are built from nothing each time: one translation unit per library and per
# test program.
unity=-DCMAKE_UNITY_BUILD=ON
threaded_tests=(engine_tests xboard_tests uci_tests game_flow_tests)

# Clang compiles the sanitized trees in about half the time GCC takes, and its warnings are a
# second opinion on the code; the Release tree is the program as it is shipped, built by GCC.
sanitizer_builds() {
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON "$unity" \
    -DCMAKE_CXX_COMPILER=clang++ -DVELTMARK_SANITIZE=thread -DVELTMARK_WERROR=ON >/dev/null
  cmake --build build-tsan -j "$jobs" --target "${threaded_tests[@]}"
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON "$unity" \
    -DCMAKE_CXX_COMPILER=clang++ -DVELTMARK_SANITIZE=address,undefined -DVELTMARK_WERROR=ON \
    >/dev/null
  cmake --build build-asan -j "$jobs" --target unit-test-programs
}

stage "Release build"
scripts/build.sh build -DVELTMARK_WERROR=ON "$unity"

# The window tests and the matches spend much of their time waiting for the display, the clocks
# and the other programs, so the sanitizer builds use the processors meanwhile, at idle
# priority (inherited by all they start) so that they never slow the timed tests down. Their
# tests run afterwards, at normal priority: they time answers too.
sanitizer_log="$root/build/sanitizer-builds.log"
(
  chrt --idle -p 0 "$BASHPID" >/dev/null 2>&1 || renice -n 19 -p "$BASHPID" >/dev/null || true
  sanitizer_builds
) >"$sanitizer_log" 2>&1 &
sanitizer_pid=$!
trap 'pkill -P "$sanitizer_pid" 2>/dev/null; kill "$sanitizer_pid" 2>/dev/null || true' EXIT

stage "Release: the whole suite, the sanitizer builds beside it"
release_status=0
(cd build && ctest --output-on-failure -j "$jobs") || release_status=$?

stage "waiting for the sanitizer builds"
sanitizer_status=0
wait "$sanitizer_pid" || sanitizer_status=$?
trap - EXIT
if [ "$sanitizer_status" -ne 0 ]; then
  cat "$sanitizer_log"
  echo "FAILED: the sanitizer builds (status $sanitizer_status)" >&2
  exit 1
fi

stage "the threaded tests under ThreadSanitizer beside the unit tests under ASan + UBSan"
tsan_log="$root/build-tsan/threaded-tests.log"
(
  cd build-tsan
  pattern="^($(IFS='|'; echo "${threaded_tests[*]}"))\$"
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -R "$pattern"
) >"$tsan_log" 2>&1 &
tsan_pid=$!
asan_status=0
# The layer rule checks the sources' include paths, the same in every tree.
(cd build-asan && ctest --output-on-failure -j "$jobs" -L unit -E '^layer_rule$') || asan_status=$?
tsan_status=0
wait "$tsan_pid" || tsan_status=$?
cat "$tsan_log"
if [ "$tsan_status" -ne 0 ] || [ "$asan_status" -ne 0 ]; then
  echo "FAILED: the sanitizer tests (ThreadSanitizer $tsan_status, AddressSanitizer $asan_status)" >&2
  exit 1
fi

stage "done"
if [ "$release_status" -ne 0 ]; then
  echo "FAILED: the Release suite (status $release_status)" >&2
  exit 1
fi
