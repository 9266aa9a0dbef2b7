#!/usr/bin/env bash
# Builds the fuzz preset and runs every reader's fuzz target for SECONDS
# (default 60) each, seeded with the format tests' files. A crash leaves its
# input in build-fuzz/findings/ and ends the script with an error.
#
#   tests/fuzz/run-fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
targets=(FuzzBrytonTrack FuzzFITImporter FuzzGPXImporter FuzzGPXWaypoints FuzzRouteDocument)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

findings=build-fuzz/findings
mkdir -p "$findings"
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/$target-")
  case $target in
    FuzzGPX* | FuzzRouteDocument) options+=(-dict=tests/fuzz/xml.dict -max_len=8192) ;;
  esac
  echo "== $target, $seconds s"
  build-fuzz/bin/$target "${options[@]}" "$corpus" tests/formats/data 2>&1 |
    grep -E '^(#[0-9]+[[:space:]]+DONE|Done|==[0-9]+==|SUMMARY|artifact_prefix|Test unit written)' || true
  test "${PIPESTATUS[0]}" -eq 0
done
