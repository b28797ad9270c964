#!/usr/bin/env bash
# Included files are written out when the game starts, by their export mode, and those marked
# for removal are gone when it has ended.
set -u
builder=$1 runner=$2 work=$3
rm -rf "$work" && mkdir -p "$work/project/rooms" "$work/project/included" "$work/project/objects"
cd "$work"
fails=0
fail() { echo "FAIL $1"; fails=$((fails + 1)); }

echo '{"game_id": 12}' > project/game.json
printf 'level one\n' > project/included/levels.dat
printf 'read me\n' > project/included/manual.txt
printf 'kept in memory\n' > project/included/hidden.bin
cat > project/included.json <<'JSON'
{"levels.dat": {"export": "working", "remove_at_end": true},
 "manual.txt": {"export": "folder", "folder": "Docs", "remove_at_end": false},
 "hidden.bin": {"export": "none"}}
JSON
# The game looks for the files while it runs; the runner's working directory is run/.
cat > project/objects/obj_probe.json <<'JSON'
{"events": {"create": "show_debug_message('started');"}}
JSON
echo '{"instances": [{"object": "obj_probe", "x": 0, "y": 0}]}' > project/rooms/rm.json
"$builder" project -o game.exe || { echo "build failed"; exit 1; }

mkdir -p run/Docs
printf 'old manual\n' > run/Docs/manual.txt
(cd run && "$runner" ../game.exe --headless --fast --max-steps 1 --debug-messages > out.txt 2> err.txt)
status=$?
[ "$status" = 0 ] || fail "exit status $status: $(cat run/err.txt)"
grep -qx started run/out.txt || fail "the game did not start: $(cat run/out.txt run/err.txt)"
# Written at start and removed at the end.
[ ! -e run/levels.dat ] || fail "levels.dat was not removed at the end"
# Not overwritten: an existing file stays as it was.
[ "$(cat run/Docs/manual.txt)" = "old manual" ] || fail "Docs/manual.txt was overwritten"
[ ! -e run/hidden.bin ] || fail "hidden.bin was written although its mode is none"

# With the folder empty the manual is written there and stays after the end.
rm -f run/Docs/manual.txt
(cd run && "$runner" ../game.exe --headless --fast --max-steps 1 > out.txt 2> err.txt)
[ "$(cat run/Docs/manual.txt 2>/dev/null)" = "read me" ] || fail "Docs/manual.txt not written"

[ "$fails" = 0 ] && echo "ok"
exit "$fails"
