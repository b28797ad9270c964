#!/usr/bin/env bash
# Each broken game file ends with its own message on standard error and exit status 1.
set -u
builder=$1 runner=$2 work=$3
rm -rf "$work" && mkdir -p "$work/project/rooms"
cd "$work"
echo '{"game_id": 5, "room_order": [0]}' > project/game.json
echo '{}' > project/rooms/room0.json
"$builder" project -o good.exe || { echo "build failed"; exit 1; }
fails=0

# patch FILE OFFSET HEXBYTES: overwrite bytes in place.
patch() {
  printf "$(echo "$3" | sed 's/\(..\)/\\x\1/g')" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

expect() {  # expect NAME FILE MESSAGE
  local name=$1 file=$2 message=$3
  "$runner" "$file" --headless > "$name.out" 2> "$name.err"
  local status=$?
  if [ "$status" != 1 ]; then
    echo "FAIL $name: exit status $status, expected 1"; cat "$name.err"; fails=$((fails + 1)); return
  fi
  if ! grep -qxF "[dialog] Zorvex Runner: $message" "$name.err"; then
    echo "FAIL $name: expected \"$message\" on standard error, got:"; cat "$name.err"
    fails=$((fails + 1)); return
  fi
  echo "ok $name"
}

head -c 1979999 good.exe > short.exe
expect short short.exe "Error: Not a valid game file."

cp good.exe magic.exe && patch magic.exe 1980000 90D61200   # 1234320
expect magic magic.exe "Error: Not a valid game file."

cp good.exe version.exe && patch version.exe 1980004 BD020000  # 701
expect version version.exe "Error: Wrong version number."

cp good.exe settings.exe && patch settings.exe 1980012 BF020000  # 703
expect settings settings.exe "Error: Error in resource data."

# The game block is the last compressed block: its last byte is the checksum's.
size=$(stat -c %s good.exe)
cp good.exe corrupt.exe && patch corrupt.exe $((size - 1)) 5A
expect corrupt corrupt.exe "Failed to load the game data. File seems corrupted."

head -c $((size - 20)) good.exe > truncated.exe
expect truncated truncated.exe "Failed to load the game data. File seems corrupted."

expect missing "$work/no-such-file.exe" "Error: Cannot read the game file."
expect directory "$work" "Error: Cannot read the game file."

# Without a game file the runner looks at the end of its own executable.
"$runner" --headless > own.out 2> own.err
status=$?
if [ "$status" != 1 ] || ! grep -qxF "[dialog] Zorvex Runner: Error: Not a valid game file." own.err; then
  echo "FAIL own: status $status"; cat own.err; fails=$((fails + 1))
else
  echo "ok own"
fi

# The temporary directory is gone after a failed load.
tmp="$work/tmp" && mkdir -p "$tmp"
TMPDIR="$tmp" "$runner" short.exe --headless 2> /dev/null
if [ -n "$(ls -A "$tmp")" ]; then echo "FAIL temp: left behind: $(ls "$tmp")"; fails=$((fails + 1)); else echo "ok temp"; fi

[ "$fails" = 0 ]
