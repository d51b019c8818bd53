#!/usr/bin/env bash
# Installs what is missing, builds the plug-in module and drives it end to end on the
# embedded default signal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# File arguments are relative to where the script was started.
args=()
for a in "$@"; do args+=("$(realpath -m -- "$a")"); done
cd "$root"

bash scripts/install-deps.sh
# Its own build tree, every option spelt out, so this and the test command run in any order.
dir=build-main
bash scripts/build.sh "$dir" -DQUIETLINE_BUILD_TESTS=OFF -DQUIETLINE_BUILD_BENCH=OFF -DQUIETLINE_SANITIZE=

# The reference host drives the built module: with no argument on the embedded default signal at
# 192 kHz (white noise, then a sine sweep), written to build-main/quietline-default-192k.wav; given
# a WAV file, on that file at its own rate (written beside it, or to the second argument). The
# output is 32-bit float, latency compensated: aligned with the input and as long. Then it
# opens the editor in an X11 window and writes a picture of it beside the audio (.png); without a
# display that window lives in a virtual X server.
module="$dir/formats/module/OrvelQuietline.so"
host="$dir/tools/vsthost/vsthost"
if [ ! -f "$module" ]; then
  echo "main.sh: $module was not built" >&2
  exit 1
fi
if [ ${#args[@]} -ge 1 ]; then
  run=("$host" "$module" render --in "${args[0]}" ${args[1]:+--out "${args[1]}"} --picture)
else
  run=("$host" "$module" render --rate 192000 --out "$dir/quietline-default-192k.wav" --picture)
fi
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}"
fi
exec "${run[@]}"
