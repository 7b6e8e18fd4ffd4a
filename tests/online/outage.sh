#!/usr/bin/env bash
# The server stopped in the middle of a commit and started again on the same
# port and folder: the turn is kept by the client and lands once it is back.
#   outage.sh ONLINE-CURL-CHECK
# Skipped (77) when lighttpd is not installed or no driver was built.
set -uo pipefail
[ $# -ge 1 ] || exit 77
command -v lighttpd >/dev/null && command -v curl >/dev/null && command -v htpasswd >/dev/null || exit 77
root=$(cd "$(dirname "$0")/../.." && pwd)
driver=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dir=$(mktemp -d)
cleanup() {
  [ -s "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
htpasswd -cbB "$dir/htpasswd" alice secret 2>/dev/null
base=http://127.0.0.1:$port
# Each waits at most 5 s for the server to answer, or to stop answering.
cat > "$dir/start" <<START
#!/usr/bin/env bash
"$root/tools/serve-online" "$dir" "$port" >>"$dir/out.log" 2>&1 &
echo \$! > "$dir/pid"
for _ in \$(seq 50); do curl -s -o /dev/null -m 1 "$base/" && exit 0; sleep 0.1; done
exit 1
START
cat > "$dir/stop" <<STOP
#!/usr/bin/env bash
kill "\$(cat "$dir/pid")" 2>/dev/null
for _ in \$(seq 50); do curl -s -o /dev/null -m 1 "$base/" || exit 0; sleep 0.1; done
exit 1
STOP
chmod +x "$dir/start" "$dir/stop"
"$dir/start" || { echo "FAIL: the server did not start"; exit 1; }
mkdir "$dir/client"
(cd "$dir/client" && "$driver" outage "$base/games" alice secret "$dir/stop" "$dir/start")
