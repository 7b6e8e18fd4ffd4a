#!/usr/bin/env bash
# Runs the online benchmarks against a server of their own: lighttpd as
# tools/serve-online starts it, on a free port of 127.0.0.1 in a temporary
# folder, ended by its process id.
#   bench/online-bench.sh [BUILD-DIR] [BENCHMARK-OPTIONS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
[ -x "$build/colonies_bench" ] || { echo "$0: no $build/colonies_bench (build with libcurl and Google Benchmark)" >&2; exit 2; }
command -v lighttpd >/dev/null && command -v htpasswd >/dev/null || { echo "$0: lighttpd and htpasswd are needed (tools/install-deps --tests)" >&2; exit 2; }
dir=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
. "$root/tests/online/serving.sh"
port=$(free_port)
htpasswd -cbB "$dir/htpasswd" bench bench 2>/dev/null
serve "$dir" "$port" "$dir/out.log"
COLONIES_ONLINE_GAMES=http://127.0.0.1:$port/games COLONIES_ONLINE_USER=bench COLONIES_ONLINE_PASSWORD=bench \
  "$build/colonies_bench" --benchmark_filter=Online "$@"
