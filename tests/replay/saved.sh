# Sourced by .check scripts: reads a saved game's lines by name. The first
# failed expectation ends the check.
set -e
#   expect FILE PLAYER LINE "numbers"   fails, naming the line, when they differ
# LINE is a name below or research1 to research9; blanks and line ends are
# squeezed, so "50000 22 25 25 1" matches the zoned line of the file.
declare -A savedOffset=(
  [active]=1 [goods]=2 [deposits]=3 [outputs]=4 [population]=5 [mission]=6 [expedition]=7
  [workers]=8 [build]=9 [order]=10 [structures]=11 [units]=12 [freeUnits]=13 [spare]=14
  [raid]=15 [force]=16 [power]=17 [staff]=18)
for k in 1 2 3 4 5 6 7 8 9; do savedOffset[research$k]=$((18 + k)); done

# 17 lines of calendar and trader, then 28 lines a player from the name on.
saved_line() {
  local n=$((18 + ($2 - 1) * 28 + ${savedOffset[$3]}))
  sed -n "${n}p" "$1" | tr -d '\r' | tr -s ' ' | sed 's/^ //; s/ $//'
}

expect() {
  local got
  got=$(saved_line "$1" "$2" "$3")
  if [ "$got" != "$4" ]; then
    echo "$1, player $2, $3: got '$got', want '$4'"
    return 1
  fi
}

# The seat line: the first after the last player's research lines (tagged
# sections, such as the colonies' history, may follow it).
seat_line() {
  local players
  players=$(head -n 1 "$1" | tr -s ' ' | sed 's/^ //' | cut -d' ' -f3)
  sed -n "$((17 + players * 28 + 1))p" "$1" | tr -d '\r' | tr -s ' ' | sed 's/^ //; s/ $//'
}
