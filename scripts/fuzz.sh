#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan, in build-fuzz) and runs each in turn:
#   fuzz.sh [--runs N] [--seconds S] [target...]      (default: every target, 60 s each)
# With both limits a target stops at whichever comes first.
# A target starts from its seeds in tests/fuzz/corpus/<target>/ and grows a working corpus in
# build-fuzz/corpus/<target>/ (libFuzzer writes new inputs only into the first folder it is given,
# so the seeds stay as they are). A failing input lands in build-fuzz/crashes/<target>/; once the
# fault is mended, shrink it (fuzz_<target> -minimize_crash=1 -runs=10000 <input>), and copy it
# into tests/fuzz/corpus/<target>/ under a name saying what it shows, so the normal suite keeps it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

limit=()
targets=()
while (($#)); do
  case "$1" in
    --runs) limit+=(-runs="$2"); shift 2 ;;
    --seconds) limit+=(-max_total_time="$2"); shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
((${#limit[@]})) || limit=(-max_total_time=60)

CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DQUIETLINE_FUZZ=ON \
  -DQUIETLINE_SANITIZE=address,undefined -DQUIETLINE_BUILD_TESTS=OFF -DQUIETLINE_BUILD_BENCH=OFF

if ((${#targets[@]} == 0)); then
  for exe in build-fuzz/tests/fuzz/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi

for target in "${targets[@]}"; do
  echo "== fuzz $target"
  work="build-fuzz/corpus/$target" crashes="build-fuzz/crashes/$target"
  mkdir -p "$work" "$crashes"
  env -u DISPLAY ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "build-fuzz/tests/fuzz/fuzz_$target" "${limit[@]}" -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$work" "tests/fuzz/corpus/$target"
done
