#!/usr/bin/env bash
# What scripts/install-deps promises a rider's machine: the application set
# holds no test tools, and no service of a tool is left enabled or listening.
# Run after the install (scripts/test installs first).
set -euo pipefail
cd "$(dirname "$0")/../.."
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

help=$(scripts/install-deps --help) || fail "--help exits with an error"
for set in app tests; do
  grep -qE "^  $set " <<<"$help" || fail "--help does not describe the set $set"
done

app=$(scripts/install-deps --list app)
tests=$(scripts/install-deps --list tests)
for tool in nginx chromium xvfb googletest libbenchmark-dev clang; do
  grep -qx "$tool" <<<"$app" && fail "the app set installs the test tool $tool"
  grep -qx "$tool" <<<"$tests" || fail "the tests set lacks $tool"
done
missing=$(comm -23 <(sort <<<"$app") <(sort <<<"$tests"))
[ -z "$missing" ] || fail "the tests set lacks app packages: $missing"
scripts/install-deps bogus 2>/dev/null && fail "an unknown set is accepted"

if dpkg-query -W -f='${Status}' nginx 2>/dev/null | grep -q 'install ok installed'; then
  if command -v systemctl >/dev/null && [ "$(systemctl is-enabled nginx 2>/dev/null)" = enabled ]; then
    fail "nginx.service is enabled"
  fi
  if compgen -G '/etc/rc[2-5].d/S*nginx' >/dev/null; then
    fail "nginx starts at boot: $(echo /etc/rc[2-5].d/S*nginx)"
  fi
  # The system's nginx keeps its process id there; the tests' own do not.
  if [ -s /run/nginx.pid ] && kill -0 "$(cat /run/nginx.pid)" 2>/dev/null; then
    fail "the system nginx is running"
  fi
fi
# Nothing listens on the web ports (state 0A is LISTEN; ports in hex).
if awk 'NR > 1 && $4 == "0A" && ($2 ~ /:0050$/ || $2 ~ /:01BB$/)' /proc/net/tcp /proc/net/tcp6 |
  grep -q .; then
  fail "something listens on port 80 or 443"
fi

((failures == 0)) && echo "install-deps keeps its promises"
exit $((failures > 0))
