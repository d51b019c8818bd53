#!/usr/bin/env bash
# Configures and builds one build tree: build.sh <build-dir> [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift

launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$root"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
# QUIETLINE_JOBS caps the compile jobs on a shared machine.
cmake --build "$dir" --parallel "${QUIETLINE_JOBS:-$(nproc)}"
