#!/usr/bin/env bash
# Builds the fuzz preset and runs its fuzz targets one after the other, each
# for an equal share of the total budget (default 300 seconds), seeded with
# the tests' files. Naming targets runs only those. Each prints how many
# inputs it ran and the coverage it reached. A crash leaves its input in
# build-fuzz/findings/ and ends the script with an error.
#
#   tests/fuzz/run-fuzzers.sh [TOTAL_SECONDS [TARGET...]]
#   tests/fuzz/run-fuzzers.sh 3600                        # six targets, ten minutes each
#   tests/fuzz/run-fuzzers.sh 600 FuzzGraphHopperResponse
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${1:-}" = --help ]; then
  sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
  exit 0
fi
budget=${1:-300}
shift $(($# > 0 ? 1 : 0))

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

if (($#)); then
  targets=("$@")
else
  mapfile -t targets < <(find build-fuzz/bin -maxdepth 1 -name 'Fuzz*' -type f -executable -printf '%f\n' | sort)
fi
seconds=$((budget / ${#targets[@]}))
((seconds > 0)) || seconds=1

findings=build-fuzz/findings
mkdir -p "$findings"
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$findings/$target-")
  seeds=tests/formats/data
  case $target in
    FuzzGPX* | FuzzRouteDocument) options+=(-dict=tests/fuzz/xml.dict -max_len=8192) ;;
    FuzzGraphHopper*) options+=(-dict=tests/fuzz/json.dict -max_len=8192) seeds=tests/routing/data ;;
    FuzzMapEvent) options+=(-dict=tests/fuzz/json.dict -max_len=4096) seeds=tests/fuzz/events ;;
  esac
  echo "== $target, $seconds s"
  build-fuzz/bin/"$target" "${options[@]}" "$corpus" "$seeds" 2>&1 |
    grep -E '^(#[0-9]+[[:space:]]+DONE|Done|==[0-9]+==|SUMMARY|artifact_prefix|Test unit written|stat::number_of_executed_units|stat::new_units_added)' || true
  test "${PIPESTATUS[0]}" -eq 0
done
