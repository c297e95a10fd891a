#!/usr/bin/env bash
# Configures and builds everything into ./build (or $BUILD_DIR).
# SANITIZE=thread (or address,undefined, ...) builds with those sanitizers, into a folder that
# should be kept for them; TARGET builds only that target.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
flags=()
if [ -n "${SANITIZE:-}" ]; then
  flags=(-DCMAKE_CXX_FLAGS="-fsanitize=$SANITIZE -fno-omit-frame-pointer"
         -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$SANITIZE")
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}"
cmake --build "$BUILD_DIR" -j"$(nproc)" ${TARGET:+--target "$TARGET"}
