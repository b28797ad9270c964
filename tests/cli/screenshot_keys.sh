#!/usr/bin/env bash
# F9 writes the drawing region as "screenshot" + N + ".bmp" with the first free N from 100, in
# the working directory; --screenshot writes the PNG of the step asked for.
set -u
builder=$1 runner=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work"
cd "$work"
fails=0
fail() { echo "FAIL $*"; fails=$((fails + 1)); }

"$builder" "$here/../render_games/blend_modes/project" -o game.exe || { echo "build failed"; exit 1; }
# 100 and 101 are there already: two presses of F9 write 102 and 103.
echo old > screenshot100.bmp
echo old > screenshot101.bmp
printf '2 key_down 120\n3 key_up 120\n5 key_down 120\n6 key_up 120\n' > keys.txt
"$runner" game.exe --headless --fast --max-steps 8 --input keys.txt --screenshot 4:shot.png \
  > out.txt 2>&1 || fail "runner: $(cat out.txt)"
[ "$(cat screenshot100.bmp)" = old ] || fail "screenshot100.bmp was overwritten"
for n in 102 103; do
  f=screenshot$n.bmp
  [ -f $f ] || { fail "$f missing"; continue; }
  # A 24-bit bitmap of the 160 x 120 room: 54 bytes of header, 480 bytes a row.
  [ "$(head -c 2 $f)" = BM ] || fail "$f is no bitmap"
  [ "$(stat -c %s $f)" = $((54 + 480 * 120)) ] || fail "$f has $(stat -c %s $f) bytes"
done
[ -f screenshot104.bmp ] && fail "a third screenshot was written"
[ "$(head -c 4 shot.png | tail -c 3)" = PNG ] || fail "shot.png is no PNG"
[ $fails = 0 ] && echo ok
exit $fails
