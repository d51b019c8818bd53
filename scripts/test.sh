#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the plain build (tests that
# need an X display run under Xvfb), then the parsing, state and thread tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, then the concurrency tests under ThreadSanitizer,
# then every fuzz target for a bounded number of runs.
# Concurrency tests run twice under each sanitizer, so a race that shows one run in two is caught.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh

# QUIETLINE_JOBS caps compile and test jobs on a shared machine.
jobs="${QUIETLINE_JOBS:-$(nproc)}"
ctest_args=(--output-on-failure --no-tests=error --parallel "$jobs")
twice=(--repeat until-fail:2)
# Every option is spelt out: a tree configured earlier with other options is set right again.
options=(-DQUIETLINE_BUILD_TESTS=ON)

echo "== plain build"
bash scripts/build.sh build "${options[@]}" -DQUIETLINE_BUILD_BENCH=ON -DQUIETLINE_SANITIZE=
(
  cd build
  env -u DISPLAY ctest "${ctest_args[@]}" -LE display
  if ctest -N -L display | grep -q "Total Tests: [1-9]"; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest "${ctest_args[@]}" -L display
  fi
)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
bash scripts/build.sh build-asan "${options[@]}" -DQUIETLINE_SANITIZE=address,undefined
(
  cd build-asan
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
  env -u DISPLAY ctest "${ctest_args[@]}" -L sanitize -LE concurrency
  env -u DISPLAY ctest "${ctest_args[@]}" "${twice[@]}" -L sanitize -L concurrency -LE display
  # Editors under the threads and callbacks hosts use, with the editor on Xvfb.
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest "${ctest_args[@]}" "${twice[@]}" -L "sanitize-display-concurrency"
)

echo "== ThreadSanitizer"
bash scripts/build.sh build-tsan "${options[@]}" -DQUIETLINE_SANITIZE=thread
(
  cd build-tsan
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
  env -u DISPLAY ctest "${ctest_args[@]}" "${twice[@]}" -L concurrency -LE display
  # The validator's thread and editor checks, with the editor on Xvfb.
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest "${ctest_args[@]}" "${twice[@]}" -L "concurrency.*display|display.*concurrency"
)

echo "== fuzz targets (clang, a bounded number of runs each)"
bash scripts/fuzz.sh --runs 20000 --seconds 20
