#!/usr/bin/env bash
# A whole online game through the real lighttpd on a free port: two desktop
# clients (colonies-replay, each in a game folder of its own) and a computer
# seat, three months, each client checking the other's turns by playing them
# again; then a record edited by hand on the server, which the next check
# must refuse without writing anything; then a wrong password.
#   tests/online/game.sh REPLAY DATA
# Skipped (77) without lighttpd or a replay built with libcurl.
set -uo pipefail
replay=$1 data=$2
command -v lighttpd >/dev/null && command -v htpasswd >/dev/null || exit 77
{ "$replay" 2>&1 || true; } | grep -q -- --server || exit 77
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
pid= listener=
cleanup() { [ -n "$listener" ] && kill "$listener" 2>/dev/null; [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; [ -n "${KEEP:-}" ] && echo "kept $dir" || rm -rf "$dir"; }
trap cleanup EXIT
. "$root/tests/online/serving.sh"
port=$(free_port)
mkdir -p "$dir/server"
htpasswd -cbB "$dir/server/htpasswd" ann one 2>/dev/null
htpasswd -bB "$dir/server/htpasswd" bob two 2>/dev/null
serve "$dir/server" "$port" "$dir/server.log"
address=http://127.0.0.1:$port
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for who in a b; do
  mkdir -p "$dir/$who"
  cp -R "$data"/. "$dir/$who/"
done
# Turn notices go to a listener that keeps each POST's body.
noticePort=$(free_port)
python3 - "$noticePort" "$dir/notices" <<'PY' &
import http.server, sys
class Keep(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with open(sys.argv[2], "ab") as f:
            f.write(body + b"\n")
        self.send_response(204)
        self.end_headers()
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), Keep)
open(sys.argv[2] + ".ready", "w").close()
server.serve_forever()
PY
listener=$!
for _ in $(seq 50); do [ -f "$dir/notices.ready" ] && break; sleep 0.1; done
# Seat 1 a person here, seat 2 a person elsewhere, seat 3 the computer
# (normal), computer turns at once; others watch, notices to the listener.
printf '0 4 2 0 0\n2 0\n1 3\n"http://127.0.0.1:%s/notice"\n' "$noticePort" > "$dir/a/options.cfg"
printf '0 0 0 0 0\n2 0\n' > "$dir/b/options.cfg"

# play WHO NAME [options...] -- KEYS: one program run; its screen in NAME.json.
play() {
  local who=$1 name=$2
  shift 2
  local args=()
  while [ "$1" != -- ]; do args+=("$1"); shift; done
  shift
  printf '%s\n' "$*" > "$dir/$name.keys"
  "$replay" --json "$dir/$name.json" "${args[@]}" "$dir/$who" "$dir/$name.keys" || fail "$name: status $?"
}
screen_has() { grep -q -- "$2" "$dir/$1.json" || fail "$1: the screen does not show \"$2\""; }
current_turn() { curl -s -m 5 "$address/games/$id/current" | sed -n 's/^turn //p'; }

# Ann makes the game: three players, her name, her world; the computer names
# itself and chooses; the invitation; her first month.
play a a1 --server "$address" --user ann --password one -- \
  'Enter 3 "Ann" Enter 1 Space Space Space Space Right'
id=$(ls "$dir/a/online" 2>/dev/null | head -1)
[ -n "$id" ] || { fail "no game made"; exit 1; }
link=$(sed -n 's/^.*: \(http[^ ]*s=2\)$/\1/p' "$dir/a"/invite-*.txt | head -1)
[ -n "$link" ] || fail "no invitation for seat 2"
grep -q one "$dir/a"/online/*/* && fail "the password is in a seat file or record"
[ "$(stat -c %a "$dir/a/server.cfg")" = 600 ] || fail "server.cfg is readable by others"
[ "$(current_turn)" = 1 ] || fail "after Ann's first turn current is $(current_turn)"
screen_has a1 "Czekam"
grep -q "(seat 2) plays month 1 of 2090 in game $id" "$dir/notices" 2>/dev/null || fail "no notice for seat 2's turn"

# Bob joins from the main menu's online games by the link: checks Ann's
# turn, names himself, chooses a world, plays; the computer seat after him
# is played and committed by his client.
play b b1 --server "$address" --user bob --password two -- \
  "o Down Enter \"$link\" Enter Space \"Bob\" Enter 2 Space Space Space Right"
[ "$(current_turn)" = 3 ] || fail "after Bob's and the computer's turns current is $(current_turn)"
screen_has b1 "Czekam"

linkA=${link%s=2}s=1
for month in 2 3; do
  play a "a$month" --join "$linkA" -- 'Space Space Space Space Right'
  play b "b$month" --join "$link" -- 'Space Space Space Space Right'
done
[ "$(current_turn)" = 9 ] || fail "after three months current is $(current_turn)"
# Both clients hold the same records, byte for byte.
for n in 000001 000003 000007; do
  cmp -s "$dir/a/online/$id/$n" "$dir/b/online/$id/$n" || fail "record $n differs between the clients"
done

# A record edited by hand on the server, its hash in `current` made to
# match so that only playing it again can tell: its first Space made an "H".
play a a4 --join "$linkA" -- 'Space Space Space Space Right'
last=$(printf '%06d' "$(current_turn)")
before=$(cat "$dir/b/online/$id/seat")
games=$address/games/$id
curl -s -m 5 -o "$dir/record.good" "$games/turns/$last"
curl -s -m 5 -o "$dir/current.good" "$games/current"
# put FILE URL: a write through the server, as anyone with a login could make.
put() { curl -s -m 5 -o /dev/null -u ann:one -X PUT --data-binary @"$1" "$2"; }
python3 - "$dir" <<'PY'
import sys
folder = sys.argv[1]
text = open(f"{folder}/record.good", "rb").read().replace(b"\nkey 20\n", b"\nkey 48\n", 1)
open(f"{folder}/record.bad", "wb").write(text)
h = 0xcbf29ce484222325
for byte in text:
    h = ((h ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
current = open(f"{folder}/current.good").read().splitlines()
current = [f"hash {h:016x}" if line.startswith("hash ") else line for line in current]
open(f"{folder}/current.bad", "w").write("\n".join(current) + "\n")
PY
put "$dir/record.bad" "$games/turns/$last"
put "$dir/current.bad" "$games/current"
play b b4 --join "$link" -- 'Space'
screen_has b4 "nie zgadza"
[ "$(cat "$dir/b/online/$id/seat")" = "$before" ] || fail "a refused record moved the seat file on"
[ -f "$dir/b/online/$id/$last" ] && fail "a refused record was kept"
# The same record with `current` as it was: the chain is broken, and the
# window names the turn without playing it.
put "$dir/current.good" "$games/current"
play b b4b --join "$link" -- ''
screen_has b4b "uszkodzony"
screen_has b4b "Ruch $((10#$last))"
put "$dir/record.good" "$games/turns/$last"

# A wrong password: the window says so, the turn is kept and goes with the
# right one; nothing is committed twice.
play b b5 --join "$link" --server "$address" --user bob --password wrong -- 'Space Space Space Space Right Space'
screen_has b5 "nie przyjal"
turn=$(current_turn)
play b b6 --join "$link" --server "$address" --user bob --password two -- ''
[ "$(current_turn)" = $((turn + 2)) ] || fail "the kept turn and the computer's after it: current $(current_turn), not $((turn + 2))"

# Ann's month again after a close in its middle: the same reports, from the
# same readings; then the server stopped as her turn ends: kept, and sent
# when it is back.
printf 'Space Space Space\nClose\n' > "$dir/a6.keys"
"$replay" --json "$dir/a6.json" --join "$linkA" "$dir/a" "$dir/a6.keys" || fail "a6: status $?"
play a a7 --join "$linkA" -- 'Space Space Space'
python3 -c 'import json,sys; a,b=(json.load(open(f))["text"] for f in sys.argv[1:]); sys.exit(a!=b)' \
  "$dir/a6.json" "$dir/a7.json" || fail "the month played again after a close shows other reports"
kill "$pid"; wait "$pid" 2>/dev/null; pid=
turn=$(ls "$dir/a/online/$id" | grep -c '^0')
play a a8 --join "$linkA" -- 'Space Space Space Right Space'
screen_has a8 "nie odpowiada"
[ "$(ls "$dir/a/online/$id" | grep -c '^0')" = $((turn + 1)) ] || fail "the turn made while the server was away is not kept"
serve "$dir/server" "$port" "$dir/server.log"
before=$(current_turn)
play a a9 --join "$linkA" -- ''
[ "$(current_turn)" = $((before + 1)) ] || fail "the kept turn was not sent when the server came back"

# Bob silent for the game's three days: Ann, who made the game, hands his
# seat to the computer, which plays it and the computer seat after it on
# her machine; Bob's client checks all three and waits as a watcher.
play a a10 --join "$linkA" -- ''
screen_has a10 "Czekam"
grep -q "H: oddaj" "$dir/a10.json" && fail "a hand-over offered before the seat was silent for its days"
checked=$(sed -n 's/^checked \([0-9]*\) .*/\1/p' "$dir/a/online/$id/seat")
echo "$checked 0" > "$dir/a/online/$id/seen"
before=$(current_turn)
play a a11 --join "$linkA" -- 'h'
[ "$(current_turn)" = $((before + 3)) ] || fail "the hand-over and two computer turns: current $(current_turn), not $((before + 3))"
# Esc in the waiting window: the game menu, a save there, and back.
play b b7 --join "$link" -- 'Esc Down Enter "w1" Enter Space Esc'
screen_has b7 "Czekam na ruch: Ann"
grep -q "^$id" "$dir/b/w1.dat" || fail "the game saved from the waiting window's menu is not the online game"
# Every turn of Ann's folder plays again as its record says; a copy with
# the hand-edited record fails at that turn.
: > "$dir/none.keys"
"$replay" --records "$dir/a/online/$id" --json "$dir/records.json" "$dir/a" "$dir/none.keys" > "$dir/records.out" ||
  fail "the game's records do not all play again: $(grep -v ': ok$' "$dir/records.out" | head -3)"
grep -q "seat 2: handed to the computer" "$dir/records.out" || fail "the hand-over is not among the records"
cp -R "$dir/a/online/$id" "$dir/edited"
cp "$dir/record.bad" "$dir/edited/$last"
"$replay" --records "$dir/edited" "$dir/a" "$dir/none.keys" > "$dir/edited.out" && fail "an edited record plays again"
grep -q "^turn $((10#$last)), seat [0-9]: its keys end before the turn does" "$dir/edited.out" ||
  fail "the edited record is not the one named: $(tail -1 "$dir/edited.out")"
[ "$failures" -eq 0 ] && echo "online game passed"
exit $((failures > 0))
