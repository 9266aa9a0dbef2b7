#!/usr/bin/env bash
# Side by side on the synthetic 200,000-point ride: tramu-cli against
# gpsbabel for the same jobs, with wall time and peak memory (best of RUNS
# runs each).
#
#   bench/compare-gpsbabel.sh [BUILD_DIR]     (default: build)
#
# Needs tramu-cli and make_synthetic_ride built in BUILD_DIR. gpsbabel and
# GNU time are installed from Debian's packages when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
runs=${RUNS:-3}
cli="$build/bin/tramu-cli"
maker="$build/bin/make_synthetic_ride"
for tool in "$cli" "$maker"; do
  [ -x "$tool" ] || { echo "missing $tool: build the project in $build first" >&2; exit 1; }
done

missing=()
command -v gpsbabel >/dev/null || missing+=(gpsbabel)
[ -x /usr/bin/time ] || missing+=(time)
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$maker" "$work"
fit="$work/ride.fit"
gpx="$work/ride.gpx"

# Prints "<seconds> <peak kB>" of the fastest of $runs runs of the command.
measure() {
  local best="" line
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
    line=$(cat "$work/time")
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best=$line
    fi
  done
  echo "$best"
}

size_mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }

report() {
  local job=$1 input=$2 ours=$3 theirs=$4
  awk -v job="$job" -v mb="$(size_mb "$input")" -v o="$ours" -v t="$theirs" 'BEGIN {
    split(o, a, " "); split(t, b, " ")
    limit = 1.5 * mb + 50
    printf "%-8s input %6.1f MB | tramu-cli %6.3f s %6.1f MB | gpsbabel %6.3f s %6.1f MB | %5.1fx faster | memory limit %.1f MB: %s\n",
      job, mb, a[1], a[2] / 1024, b[1], b[2] / 1024, (a[1] > 0 ? b[1] / a[1] : 0), limit,
      (a[2] / 1024 <= limit ? "within" : "EXCEEDED")
  }'
}

echo "gpsbabel $(gpsbabel -V 2>/dev/null | awk 'NF { print $NF; exit }'), best of $runs runs"
convert_ours=$(measure "$cli" convert "$fit" "$work/ours.gpx")
convert_theirs=$(measure gpsbabel -i garmin_fit -f "$fit" -o gpx,garminextensions -F "$work/theirs.gpx")
report convert "$fit" "$convert_ours" "$convert_theirs"

stats_ours=$(measure "$cli" stats "$gpx")
stats_theirs=$(measure gpsbabel -i gpx -f "$gpx" -o gpx -F /dev/null)
report stats "$gpx" "$stats_ours" "$stats_theirs"

# gpsbabel's own GPX output must read as a ride too.
echo "tramu-cli stats of gpsbabel's conversion: $("$cli" stats "$work/theirs.gpx")"
