#!/usr/bin/env bash
# The online server as tools/serve-online starts it, against the real lighttpd
# on a free port: conditional writes, logins, caching and concurrent writers.
# Skipped (77) when lighttpd is not installed. Optional $1: a program run with
# the server's games URL, login and password after these checks.
set -uo pipefail
command -v lighttpd >/dev/null && command -v curl >/dev/null && command -v htpasswd >/dev/null || exit 77
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
. "$root/tests/online/serving.sh"
port=$(free_port)
htpasswd -cbB "$dir/htpasswd" alice secret 2>/dev/null
mkdir -p "$dir/site" && printf '\0asm' > "$dir/site/colonies.wasm"
serve "$dir" "$port" "$dir/out.log"
base=http://127.0.0.1:$port
failures=0
# expect WHAT WANTED GOT
expect() { if [ "$2" != "$3" ]; then echo "FAIL: $1: wanted $2, got $3"; failures=$((failures+1)); fi; }
code() { curl -s -o /dev/null -m 5 -w '%{http_code}' "$@"; }
etag() { curl -s -m 5 -o /dev/null -D - "$1" | tr -d '\r' | sed -n 's/^ETag: //Ip'; }
login=(-u alice:secret)
g=$base/games/0123456789abcdef0123456789abcdef

expect "MKCOL game" 201 "$(code -X MKCOL "${login[@]}" "$g/")"
expect "MKCOL turns" 201 "$(code -X MKCOL "${login[@]}" "$g/turns/")"
expect "create once" 201 "$(code -X PUT -H 'If-None-Match: *' "${login[@]}" --data-binary one "$g/current")"
expect "second create" 412 "$(code -X PUT -H 'If-None-Match: *' "${login[@]}" --data-binary two "$g/current")"
expect "content kept" one "$(curl -s -m 5 "$g/current")"
old=$(etag "$g/current")
[ -n "$old" ] || { echo "FAIL: no ETag on GET"; failures=$((failures+1)); }
# The same size within the same second: the tag must still change.
expect "replace read version" 204 "$(code -X PUT -H "If-Match: $old" "${login[@]}" --data-binary ONE "$g/current")"
new=$(etag "$g/current")
[ "$new" != "$old" ] || { echo "FAIL: ETag unchanged by a write"; failures=$((failures+1)); }
expect "stale replace" 412 "$(code -X PUT -H "If-Match: $old" "${login[@]}" --data-binary three "$g/current")"
expect "content replaced" ONE "$(curl -s -m 5 "$g/current")"
expect "unchanged poll" 304 "$(code -H "If-None-Match: $new" "$g/current")"
expect "changed poll" 200 "$(code -H "If-None-Match: $old" "$g/current")"
expect "read without login" 200 "$(code "$g/current")"
expect "OPTIONS without login" 200 "$(code -X OPTIONS "$g/")"
expect "write without login" 401 "$(code -X PUT --data-binary x "$g/nologin")"
expect "wrong password" 401 "$(code -X PUT -u alice:wrong --data-binary x "$g/wrong")"
expect "MKCOL without login" 401 "$(code -X MKCOL "$base/games/other/")"
expect "nothing written without login" 404 "$(code "$g/nologin")"
expect "no-cache on games" "no-cache" "$(curl -s -m 5 -D - -o /dev/null "$g/current" | tr -d '\r' | sed -n 's/^Cache-Control: //Ip')"
expect "wasm type" application/wasm "$(curl -s -m 5 -o /dev/null -w '%{content_type}' "$base/colonies.wasm")"

# Ten writers create the same turn at once: exactly one gets through.
for round in 1 2 3 4 5; do
  writers=()
  for w in 0 1 2 3 4 5 6 7 8 9; do
    code -X PUT -H 'If-None-Match: *' "${login[@]}" --data-binary "writer $w" "$g/turns/$round" >"$dir/w$w" &
    writers+=($!)
  done
  wait "${writers[@]}"
  won=$(cat "$dir"/w? | grep -o '20[14]' | wc -l)
  lost=$(cat "$dir"/w? | grep -o 412 | wc -l)
  expect "round $round: one writer" "1 9" "$won $lost"
done

if [ $# -ge 1 ]; then
  "$@" "$base/games" alice secret || failures=$((failures+1))
fi
[ "$failures" -eq 0 ] && echo "all server checks passed"
exit $((failures > 0))
