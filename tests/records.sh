#!/usr/bin/env bash
# A game at one keyboard keeps its turns' records: each new or loaded game a
# folder of its own under records/, every turn of which colonies-replay
# --records plays again to the same game; a load in the middle of a turn and
# a continued start of turn included. Only the ten newest folders stay.
#   tests/records.sh REPLAY DATA
set -uo pipefail
replay=$1 data=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mkdir "$dir/game"
cp -R "$data"/. "$dir/game/"
printf '0 2 0 0 0\n2 0\n' > "$dir/game/options.cfg"   # Ala and a computer seat
: > "$dir/none.keys"
run() { printf '%s\n' "$1" > "$dir/run.keys"; "$replay" "$dir/game" "$dir/run.keys" || fail "run: status $?"; }
# folders_ok COUNT: that many folders, each playing again without a difference.
folders_ok() {
  local n=0
  for folder in "$dir"/game/records/*/; do
    n=$((n + 1))
    "$replay" --records "$folder" "$dir/game" "$dir/none.keys" > "$dir/out" || fail "$(basename "$folder"): $(tail -1 "$dir/out")"
  done
  [ "$n" = "$1" ] || fail "$n record folders, not $1"
}
# Three months, a save and a load in the middle of the third.
run 'Enter 2 "Ala" Enter 1 Space Space Space Right Space Space Space Right Space Space Space
     Esc Down Enter "g1" Enter Space Esc Right
     Space Space Space Esc Down Down Enter "g1" Enter Right Space Space Space Right Space Space Space'
folders_ok 2
newest=$(ls -t "$dir/game/records" | head -1)
[ "$(ls "$dir/game/records/$newest" | wc -l)" = 4 ] || fail "the loaded game's folder: $(ls "$dir/game/records/$newest" | tr '\n' ' ')"
# Closed at a month banner, continued: the month's readings are handed in.
run 'Close'
run 'Down Enter "autosave" Enter Space Space Space Right Space Space Space Right'
folders_ok 3
# Old folders beyond the ten newest go when a game starts.
for i in $(seq 10 20); do
  mkdir "$dir/game/records/000000000000000000000000000000$i"
  touch -d '2001-01-01' "$dir/game/records/000000000000000000000000000000$i"
done
run 'Enter 1 "Ola" Enter 2'
[ "$(ls "$dir/game/records" | wc -l)" = 10 ] || fail "$(ls "$dir/game/records" | wc -l) folders kept, not 10"
[ -d "$dir/game/records/$newest" ] || fail "a new folder was pruned before the old ones"
[ "$failures" -eq 0 ] && echo "local records passed"
exit $((failures > 0))
