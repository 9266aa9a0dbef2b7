#!/usr/bin/env bash
# deploy/graphhopper/setup against loopback servers: Maven Central and Geofabrik served from a
# folder, and a fake java whose "server" is a stand-in answering like GraphHopper 11, so a whole
# set-up runs in seconds. Covers a missing or old Java, a resumed download, a file that fails
# its checksum, the final route check with and without elevation, and a second region.
set -euo pipefail
tests=$(cd "$(dirname "$0")" && pwd)
setup=$tests/../../deploy/graphhopper/setup
servers=$tests/loopback-servers.py
tmp=$(mktemp -d)
gh=$tmp/gh
file_server=
# shellcheck disable=SC2317 # called by the trap below
cleanup() {
  if [ -f "$gh/server.pid" ]; then kill "$(cat "$gh/server.pid")" 2>/dev/null || true; fi
  if [ -n "$file_server" ]; then kill "$file_server" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The downloads, laid out as Maven Central and Geofabrik publish them; badland's checksum is wrong.
jars=$tmp/www/maven2/com/graphhopper/graphhopper-web/11.0
extracts=$tmp/www/geofabrik/europe
mkdir -p "$jars" "$extracts"
head -c 300000 /dev/urandom >"$jars/graphhopper-web-11.0.jar"
sha1sum "$jars/graphhopper-web-11.0.jar" | cut -d ' ' -f 1 >"$jars/graphhopper-web-11.0.jar.sha1"
for land in testland otherland badland; do
  head -c 200000 /dev/urandom >"$extracts/$land-latest.osm.pbf"
  (cd "$extracts" && md5sum "$land-latest.osm.pbf" >"$land-latest.osm.pbf.md5")
done
echo "0123456789abcdef0123456789abcdef  badland-latest.osm.pbf" >"$extracts/badland-latest.osm.pbf.md5"

# The interpreter itself, not a wrapper that would outlive a kill.
python=$(python3 -c 'import sys; print(sys.executable)')
"$python" "$servers" files "$tmp/www" "$tmp/files.port" "$tmp/files.log" &
file_server=$!
for _ in $(seq 100); do
  [ -s "$tmp/files.port" ] && break
  sleep 0.05
done
files=http://127.0.0.1:$(cat "$tmp/files.port")
export TRAMU_MAVEN_BASE=$files/maven2 TRAMU_GEOFABRIK_BASE=$files/geofabrik

# The fake java: "-version" names $FAKE_JAVA_VERSION; a server run records its working folder
# and arguments, makes a graph folder as GraphHopper does and becomes the stand-in.
mkdir -p "$tmp/bin"
cat >"$tmp/bin/java" <<'SH'
#!/usr/bin/env bash
if [ "$1" = -version ]; then
  echo "openjdk version \"$FAKE_JAVA_VERSION\" 2024-01-16" >&2
  exit 0
fi
{ pwd; printf '%s\n' "$@"; } >"$FAKE_JAVA_RUN"
for arg; do
  case $arg in -Ddw.server.application_connectors*port=*) port=${arg#*=} ;; esac
done
mkdir -p graph-cache
exec "$PYTHON" "$SERVERS" graphhopper "$port" "$FAKE_ROUTES" "$FAKE_ASCEND" "${FAKE_REFUSE:-0}"
SH
chmod +x "$tmp/bin/java"
export FAKE_JAVA_VERSION=17.0.13 FAKE_JAVA_RUN=$tmp/java.run FAKE_ROUTES=$tmp/routes.log \
  FAKE_ASCEND=120 SERVERS=$servers PYTHON=$python
unset TRAMU_JAVA JAVA_HOME
port=$("$python" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

run() { "$setup" --dir "$gh" --port "$port" "$@" >"$tmp/out" 2>&1; }
said() { grep -qF -- "$1" "$tmp/out"; }
downloads() { cat "$tmp/files.log" 2>/dev/null || true; }
stop_server() {
  local pid
  pid=$(cat "$gh/server.pid")
  kill "$pid"
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
}

# Wrong use: said plainly, nothing downloaded.
run && fail "no region is accepted"
said "which region?" || fail "a missing region is not named: $(cat "$tmp/out")"
run ../etc && fail "'../etc' is taken for a region"
said "no Geofabrik region" || fail "a bad region is not named: $(cat "$tmp/out")"
run --start && fail "--start runs with nothing imported"
said "nothing imported" || fail "--start without an import says: $(cat "$tmp/out")"

# No java on the PATH: every other command of the PATH, linked into one folder.
nojava=$tmp/nojava
mkdir "$nojava"
IFS=: read -ra path_dirs <<<"$PATH"
for path_dir in "${path_dirs[@]}"; do
  if [ -d "$path_dir" ]; then ln -s "$path_dir"/* "$nojava"/ 2>/dev/null || true; fi
done
rm -f "$nojava/java"
PATH=$nojava run europe/testland && fail "set up without Java"
said "sudo apt-get install openjdk-17-jre-headless" || fail "no Java, but: $(cat "$tmp/out")"
for version in 11.0.22 1.8.0_392; do
  FAKE_JAVA_VERSION=$version run --java "$tmp/bin/java" europe/testland && fail "Java $version accepted"
  if ! { said "is Java $version" && said openjdk-17-jre-headless; }; then
    fail "Java $version: $(cat "$tmp/out")"
  fi
done
[ -z "$(downloads)" ] || fail "downloads started before Java was checked: $(downloads)"
export TRAMU_JAVA=$tmp/bin/java

# An extract that does not match its checksum is refused and kept aside; Java never starts.
run europe/badland && fail "an extract with a wrong checksum is used"
said "does not match the md5 checksum" || fail "the mismatch is not named: $(cat "$tmp/out")"
aside=("$gh"/extracts/europe/badland-latest.osm.pbf.mismatch-*)
cmp -s "${aside[0]}" "$extracts/badland-latest.osm.pbf" || fail "the refused extract is not kept aside"
[ ! -e "$gh/extracts/europe/badland-latest.osm.pbf" ] || fail "the refused extract is in place"
[ ! -e "$tmp/java.run" ] || fail "GraphHopper started on a refused extract"
cmp -s "$gh/graphhopper-web-11.0.jar" "$jars/graphhopper-web-11.0.jar" || fail "the jar is not in place"

# A download cut short is resumed; the verified jar is not fetched again; the server is imported
# with this configuration, and the check routes inside its area after a point it cannot snap.
head -c 1000 "$extracts/testland-latest.osm.pbf" >"$gh/extracts/europe/testland-latest.osm.pbf.part"
: >"$tmp/files.log"
FAKE_REFUSE=1 run europe/testland || fail "the set-up failed: $(cat "$tmp/out")"
grep -qx "GET /geofabrik/europe/testland-latest.osm.pbf range=bytes=1000-" "$tmp/files.log" ||
  fail "the extract was not resumed: $(downloads)"
grep -q "graphhopper-web-11.0.jar " "$tmp/files.log" && fail "the verified jar was downloaded again"
cmp -s "$gh/extracts/europe/testland-latest.osm.pbf" "$extracts/testland-latest.osm.pbf" ||
  fail "the resumed extract differs from the published one"
[ "$(head -n 1 "$tmp/java.run")" = "$gh" ] || fail "GraphHopper does not run in $gh"
for argument in "-Ddw.graphhopper.datareader.file=$gh/extracts/europe/testland-latest.osm.pbf" \
  "-jar" "$gh/graphhopper-web-11.0.jar" "server" "config.yml"; do
  grep -qxF -- "$argument" "$tmp/java.run" || fail "GraphHopper is started without $argument"
done
grep -qxE -- '-Xmx[0-9]+m' "$tmp/java.run" || fail "GraphHopper is started without a heap size"
grep -qE '^ +graph.location: graph-cache$' "$gh/config.yml" || fail "config.yml keeps its paths"
cmp -s "$gh/custom_models/tramu_mtb.json" "$tests/../../deploy/graphhopper/custom_models/tramu_mtb.json" ||
  fail "the custom models are not beside config.yml"
[ "$(grep -c '"profile": "road_bike", "elevation": true' "$tmp/routes.log")" = 2 ] ||
  fail "not a road_bike route with elevation after a refused one: $(cat "$tmp/routes.log")"
said "climbs 120 m: elevation works" || fail "the route check says: $(cat "$tmp/out")"
kill -0 "$(cat "$gh/server.pid")" || fail "the server does not keep running"
stop_server

# --start runs the imported server again without downloading; flat heights are named plainly.
: >"$tmp/files.log"
status=0
FAKE_ASCEND=0 run --start || status=$?
[ "$status" = 2 ] || fail "--start with flat heights ends with $status: $(cat "$tmp/out")"
if ! { said "ELEVATION FAILED" && said '"Re-importing with the elevation tiles in place"'; }; then
  fail "flat heights are not explained: $(cat "$tmp/out")"
fi
said "elevation-cache (tiles of open sea do not exist): srtm_39_03.zip" ||
  fail "the missing tile is not named: $(cat "$tmp/out")"
[ -z "$(downloads)" ] || fail "--start downloaded: $(downloads)"
stop_server

# Another region replaces an imported graph only when asked to.
run europe/otherland && fail "an imported graph was replaced without --reimport"
said "--reimport" || fail "the way to replace a graph is not named: $(cat "$tmp/out")"
run --reimport europe/otherland || fail "--reimport failed: $(cat "$tmp/out")"
grep -qxF -- "-Ddw.graphhopper.datareader.file=$gh/extracts/europe/otherland-latest.osm.pbf" \
  "$tmp/java.run" || fail "--reimport did not import the other region"
stop_server

((failures == 0)) && echo "the set-up script keeps its promises"
exit $((failures > 0))
