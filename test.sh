#!/usr/bin/env bash
# Installs what is missing, builds, runs the generation pool's tests in a ThreadSanitizer build
# of the engine tests, then runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
# Sanitizer builds run here (SANITIZE with BUILD_DIR, see scripts/build.sh) report every leak of
# the game's own code; leaks inside Qt's libraries are suppressed by name, which needs stacks
# unwound through Qt's frames.
export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# The pool's worker threads under ThreadSanitizer: a data race, a lock-order inversion or any
# other report ends the run with a failure, and so does a run that has not ended within
# TSAN_TIMEOUT seconds (a hang: they take under 20 s here, on two cores as on eight).
TSAN_DIR="${BUILD_DIR:-build}-tsan"
TSAN_TIMEOUT=${TSAN_TIMEOUT:-120}
SANITIZE=thread BUILD_DIR="$TSAN_DIR" TARGET=engine_tests bash scripts/build.sh
status=0
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1${TSAN_OPTIONS:+ $TSAN_OPTIONS}" \
  timeout --kill-after=10 "$TSAN_TIMEOUT" \
  "./$TSAN_DIR/engine_tests" --gtest_filter='GeneratorThreads.*' || status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "test.sh: the pool's tests under ThreadSanitizer did not end within $TSAN_TIMEOUT s" >&2
fi
[ "$status" -eq 0 ] || exit "$status"

# The whole suite last, so that its summary closes the output.
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
