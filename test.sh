#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite: the threaded engine, xboard, UCI
# and window game-flow tests under ThreadSanitizer, the unit tests under AddressSanitizer +
# UndefinedBehaviorSanitizer, and last the Release build with every test (unit tests,
# transcripts of the real program, a match in Debian's xboard against fairymax, the window
# driven on a private display).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
scripts/install-dependencies.sh --tests

jobs="$(nproc)"

echo "== ThreadSanitizer: engine, xboard, UCI and window game-flow tests"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON \
  -DVELTMARK_SANITIZE=thread -DVELTMARK_WERROR=ON >/dev/null
cmake --build build-tsan -j "$jobs" --target engine_tests xboard_tests uci_tests game_flow_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
build-tsan/engine_tests --gtest_brief=1
build-tsan/xboard_tests --gtest_brief=1
build-tsan/uci_tests --gtest_brief=1
build-tsan/game_flow_tests --gtest_brief=1
unset TSAN_OPTIONS

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: unit tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_BUILD_TESTS=ON \
  -DVELTMARK_SANITIZE=address,undefined -DVELTMARK_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs" --target unit-test-programs
(cd build-asan && ctest --output-on-failure -j "$jobs" -L unit)

echo "== Release build: the whole suite"
scripts/build.sh build -DVELTMARK_WERROR=ON
(cd build && ctest --output-on-failure -j "$jobs")
