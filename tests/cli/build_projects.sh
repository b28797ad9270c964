#!/usr/bin/env bash
# The builder on the checked-in projects: they build, twice to the same bytes; a broken project
# stops the build with the file and the field, and leaves no game file behind.
set -u
builder=$1 runner=$2 work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work" && mkdir -p "$work"
cd "$work"
fails=0

for project in "$root/examples/demo" "$root/tests/games/all_resources"; do
  name=$(basename "$project")
  if ! "$builder" "$project" -o "$name.exe" 2> "$name.err"; then
    echo "FAIL $name does not build:"; cat "$name.err"; fails=$((fails + 1)); continue
  fi
  "$builder" "$project" -o "$name-again.exe"
  if ! cmp -s "$name.exe" "$name-again.exe"; then
    echo "FAIL $name builds to different bytes"; fails=$((fails + 1))
  elif [ "$(stat -c %s "$name.exe")" -le 1980000 ]; then
    echo "FAIL $name.exe holds no game data"; fails=$((fails + 1))
  else
    echo "ok $name"
  fi
done

cp -r "$root/tests/games/all_resources" broken
sed -i 's/"sprite": "spr_ball"/"sprite": "spr_bal"/' broken/objects/obj_player.json
"$builder" broken -o broken.exe 2> broken.err
status=$?
want='zorvex-build: objects/obj_player.json: field "sprite": no sprite named "spr_bal"'
if [ "$status" != 1 ] || ! grep -qxF "$want" broken.err || [ -e broken.exe ]; then
  echo "FAIL broken project: status $status"; cat broken.err; fails=$((fails + 1))
else
  echo "ok broken project"
fi

[ "$fails" = 0 ]
