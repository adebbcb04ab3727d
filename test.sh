#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite: the Release build with every test
# (unit tests, transcripts of the real program, a match in xboard against fairymax), then the
# unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer, and the threaded engine
# and xboard tests under ThreadSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$root"
scripts/install-dependencies.sh

jobs="$(nproc)"

echo "== Release build: the whole suite"
scripts/build.sh build
(cd build && ctest --output-on-failure -j "$jobs")

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: unit tests"
scripts/build.sh build-asan -DVELTMARK_SANITIZE=address,undefined
(cd build-asan && ctest --output-on-failure -j "$jobs" -L unit)

echo "== ThreadSanitizer: engine and xboard tests"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Release -DVELTMARK_SANITIZE=thread >/dev/null
cmake --build build-tsan -j "$jobs" --target engine_tests xboard_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
build-tsan/engine_tests --gtest_brief=1
build-tsan/xboard_tests --gtest_brief=1
