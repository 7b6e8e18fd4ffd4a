# Sourced by the online tests and the online benchmark: a free port on
# 127.0.0.1, and tools/serve-online started there.
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
# serve DIR PORT LOG: the server in the background, its process id in $pid,
# once it answers (at most five seconds).
serve() {
  "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tools/serve-online" "$1" "$2" >>"$3" 2>&1 &
  pid=$!
  for _ in $(seq 50); do
    curl -s -o /dev/null -m 1 "http://127.0.0.1:$2/" && return 0
    sleep 0.1
  done
}
