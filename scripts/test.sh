#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the plain build (tests that
# need an X display run under Xvfb), then the parsing, state and thread tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, then the concurrency tests under ThreadSanitizer,
# then every fuzz target for a bounded number of runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh

jobs="$(nproc)"
ctest_args=(--output-on-failure --no-tests=error --parallel "$jobs")

echo "== plain build"
bash scripts/build.sh build
(
  cd build
  env -u DISPLAY ctest "${ctest_args[@]}" -LE display
  if ctest -N -L display | grep -q "Total Tests: [1-9]"; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest "${ctest_args[@]}" -L display
  fi
)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
bash scripts/build.sh build-asan -DQUIETLINE_SANITIZE=address,undefined
(cd build-asan && env -u DISPLAY ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest "${ctest_args[@]}" -L sanitize)

echo "== ThreadSanitizer"
bash scripts/build.sh build-tsan -DQUIETLINE_SANITIZE=thread
(
  cd build-tsan
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
  env -u DISPLAY ctest "${ctest_args[@]}" -L concurrency -LE display
  # The validator's thread and editor checks, with the editor on Xvfb.
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest "${ctest_args[@]}" -L "concurrency.*display|display.*concurrency"
)

echo "== fuzz targets (clang, a bounded number of runs each)"
bash scripts/fuzz.sh --runs 20000 --seconds 20
