#!/usr/bin/env bash
# Configures and builds everything into ./build (or $BUILD_DIR).
# SANITIZE=thread (or address,undefined, ...) builds with those sanitizers, into a folder that
# should be kept for them; TARGET builds only that target. TEST_TIMEOUT sets the seconds ctest
# lets each test process run (see CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
# A sanitizer build's tests run ten to twenty times slower: its slowest test takes up to 25 s.
test_timeout=${TEST_TIMEOUT:-20}
flags=()
if [ -n "${SANITIZE:-}" ]; then
  test_timeout=${TEST_TIMEOUT:-120}
  flags=(-DCMAKE_CXX_FLAGS="-fsanitize=$SANITIZE -fno-omit-frame-pointer"
         -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$SANITIZE")
fi
flags+=(-DTL_TEST_TIMEOUT="$test_timeout")
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}"
cmake --build "$BUILD_DIR" -j"$(nproc)" ${TARGET:+--target "$TARGET"}
