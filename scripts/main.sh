#!/usr/bin/env bash
# Installs what is missing, builds the plug-in module and drives it end to end on the
# embedded default signal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh
bash scripts/build.sh build -DQUIETLINE_BUILD_TESTS=OFF -DQUIETLINE_BUILD_BENCH=OFF

exec build/tools/quietline_demo "$@"
