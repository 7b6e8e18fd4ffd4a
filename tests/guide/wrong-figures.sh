#!/usr/bin/env bash
# The guide's figures check must catch a wrong figure: a copy of the guide
# with one table cell, one odds figure and the walkthrough's sale changed
# must fail, naming those three claims and nothing else.
#   tests/guide/wrong-figures.sh REPLAY-PROGRAM FIGURES-PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wrong="$work/guide.md"
sed 's/| 2000 \/ 1000 \/ 500 | 15/| 2000 \/ 1000 \/ 600 | 15/; s/52 for two and 82 for three/52 for two and 81 for three/; s/for 8,633 money/for 8,600 money/' \
  "$here/docs/guide.md" > "$wrong"
[ "$(diff "$here/docs/guide.md" "$wrong" | grep -c '^>')" -eq 3 ] || { echo "the guide no longer holds the three figures this test changes"; exit 1; }
if "$here/tools/check-guide-figures" --guide "$wrong" "$1" "$2" > "$work/out"; then
  echo "a guide with three wrong figures passed"; exit 1
fi
for claim in '| Depot | room for 500 goods | 200 | 150 | 25 | 2000 / 1000 / 500 |' '82 for three (91 for three from Aurora)' 'for 8,633 money.'; do
  grep -qF -- "$claim" "$work/out" || { echo "not reported: $claim"; cat "$work/out"; exit 1; }
done
[ "$(grep -c '^docs/guide.md does not say' "$work/out")" -eq 3 ] || { echo "more than the three claims reported:"; cat "$work/out"; exit 1; }
echo "each wrong figure fails"
