#!/usr/bin/env bash
# Bad arguments: usage on standard error and exit status 2; good ones are accepted.
set -u
builder=$1 runner=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
cd "$work"
fails=0

bad() {  # bad EXPECTED-TEXT ARGS...
  local want=$1; shift
  "$runner" "$@" > out.txt 2> err.txt
  local status=$?
  if [ "$status" != 2 ] || ! grep -qF -e "$want" err.txt || ! grep -q '^usage: zorvex-run' err.txt; then
    echo "FAIL $*: status $status"; cat err.txt; fails=$((fails + 1))
  else
    echo "ok $*"
  fi
}

bad 'unknown option "--nope"' --nope
bad '--max-steps needs a value' --max-steps
bad '--max-steps needs a whole number' --max-steps ten
bad '--seed needs a 32-bit whole number' --seed 1e3
bad '--screenshot needs STEP:FILE' --screenshot shot.png
bad 'only one game file' a.exe b.exe
bad 'cannot read the input file' --input missing.txt
bad 'cannot read the answers file' --answers missing.txt
printf '1 key_down 37\n\n3 mouse_down sideways\n' > input.txt
bad 'input.txt: line 3: the button is left, right or middle' --input input.txt
printf '2 key_press 13\n' > input2.txt
bad 'line 1: unknown event "key_press"' --input input2.txt

"$runner" --help > help.txt 2>&1
if [ $? != 0 ] || ! grep -q '^usage: zorvex-run' help.txt; then echo "FAIL --help"; fails=$((fails + 1)); fi

# Every option together is accepted: the run gets as far as the (missing) game file.
printf '1 key_down 37\n2 close\n' > ok-input.txt
printf 'yes\n' > answers.txt
"$runner" missing.exe --headless --max-steps 5 --fast --seed 3 --debug-messages \
  --screenshot 1:a.png --screenshot 2:b.png --input ok-input.txt --answers answers.txt 2> err.txt
status=$?
if [ "$status" != 1 ] || ! grep -qxF '[dialog] Zorvex Runner: Error: Cannot read the game file.' err.txt; then
  echo "FAIL all options: status $status"; cat err.txt; fails=$((fails + 1))
else
  echo "ok all options"
fi

# The builder: bad arguments exit 2, a bad project names the file and the field.
"$builder" > /dev/null 2>&1; [ $? = 2 ] || { echo "FAIL builder without arguments"; fails=$((fails + 1)); }
mkdir -p bad && echo '{"scaling": "large"}' > bad/game.json
"$builder" bad -o bad.exe 2> build.err
if [ $? != 1 ] || ! grep -qxF 'zorvex-build: game.json: field "scaling": expected an integer' build.err; then
  echo "FAIL bad project"; cat build.err; fails=$((fails + 1))
else
  echo "ok bad project"
fi
[ ! -e bad.exe ] || { echo "FAIL a failed build left a file"; fails=$((fails + 1)); }

[ "$fails" = 0 ]
