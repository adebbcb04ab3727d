#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite: the Release build with every test
# (unit tests, transcripts of the real program, a match in Debian's xboard against fairymax, the
# window driven on a private display), and beside it the threaded engine, xboard, UCI and window
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
# test program, by Ninja (a tree made earlier keeps its generator).
unity=-DCMAKE_UNITY_BUILD=ON
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"
# LLVM's linker links the two dozen programs of each tree in a third less time.
linker=-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld
threaded_tests=(engine_tests xboard_tests uci_tests game_flow_tests)

# Clang compiles the sanitized trees in about half the time GCC takes, and its warnings are a
# second opinion on the code; the Release tree is the program as it is shipped, built by GCC.
sanitizer_builds() {
  # Called in a condition, where a failing step would not end the function by itself.
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON "$unity" "$linker" \
    -DCMAKE_CXX_COMPILER=clang++ -DVELTMARK_SANITIZE=thread -DVELTMARK_WERROR=ON >/dev/null &&
    cmake --build build-tsan -j "$jobs" --target "${threaded_tests[@]}" &&
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON "$unity" "$linker" \
      -DCMAKE_CXX_COMPILER=clang++ -DVELTMARK_SANITIZE=address,undefined -DVELTMARK_WERROR=ON \
      >/dev/null &&
    cmake --build build-asan -j "$jobs" --target unit-test-programs
}

sanitizer_tests() {
  local tsan_status=0 asan_status=0
  (
    cd build-tsan
    pattern="^($(IFS='|'; echo "${threaded_tests[*]}"))\$"
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -R "$pattern"
  ) >build-tsan/threaded-tests.log 2>&1 &
  local tsan_pid=$!
  # The layer rule checks the sources' include paths, the same in every tree.
  (cd build-asan && ctest --output-on-failure -j "$jobs" -L unit -E '^layer_rule$') ||
    asan_status=$?
  wait "$tsan_pid" || tsan_status=$?
  cat build-tsan/threaded-tests.log
  if [ "$tsan_status" -ne 0 ] || [ "$asan_status" -ne 0 ]; then
    echo "FAILED: ThreadSanitizer status $tsan_status, AddressSanitizer status $asan_status"
    return 1
  fi
}

# The sanitized trees are built from the start at idle priority, inherited by all they start:
# they take only what the Release build, and then the window tests and the matches, leave of the
# processors, and never slow the timed tests down. Their tests run once they are built, at
# normal priority, since they time answers too.
mkdir -p build
builds_log="$root/build/sanitizer-builds.log"
tests_log="$root/build/sanitizer-tests.log"
(
  chrt --idle -p 0 "$BASHPID" >/dev/null 2>&1 || renice -n 19 -p "$BASHPID" >/dev/null || true
  if ! sanitizer_builds >"$builds_log" 2>&1; then
    cat "$builds_log"
    echo "FAILED: the sanitizer builds"
    exit 1
  fi
  stage "sanitizer builds done; their tests"
  chrt --other -p 0 "$BASHPID" >/dev/null 2>&1 || renice -n 0 -p "$BASHPID" >/dev/null || true
  status=0
  sanitizer_tests || status=$?
  stage "sanitizer tests done"
  exit "$status"
) >"$tests_log" 2>&1 &
sanitizer_pid=$!
trap 'pkill -P "$sanitizer_pid" 2>/dev/null; kill "$sanitizer_pid" 2>/dev/null || true' EXIT

stage "Release build, the sanitized trees built beside it"
scripts/build.sh build -DVELTMARK_WERROR=ON "$unity" "$linker"

stage "Release: the whole suite, the sanitizers beside it"
release_status=0
(cd build && ctest --output-on-failure -j "$jobs") || release_status=$?

stage "waiting for the sanitizers"
sanitizer_status=0
wait "$sanitizer_pid" || sanitizer_status=$?
trap - EXIT
cat "$tests_log"
if [ "$sanitizer_status" -ne 0 ]; then
  echo "FAILED: the sanitizers (status $sanitizer_status)" >&2
  exit 1
fi

stage "done"
if [ "$release_status" -ne 0 ]; then
  echo "FAILED: the Release suite (status $release_status)" >&2
  exit 1
fi
