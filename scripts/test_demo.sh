#!/usr/bin/env bash
# Checks scripts/demo.sh without the program: Wine's own notepad (32-bit where the machine runs
# 32-bit programs) stands in for Pellorin.exe and the stand-in game tool for ucc.exe, in a build
# folder and demo folder of the test's own. Runs the demo on a private Xvfb server. Needs Wine, Xvfb and ImageMagick.
#   bash scripts/test_demo.sh [STAND_IN_UCC_EXE]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
build=$work/build
demo=$work/demo
failures=0

cleanup() {
  WINEPREFIX=$demo/wineprefix wineserver -k </dev/null >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

demo() {  # demo [ARGS...]: runs the demo on Xvfb with the test's folders; output in $work/out
  env -u DISPLAY PELLORIN_DEMO_XVFB=1 PELLORIN_WIN_BUILD="$build" PELLORIN_DEMO_DIR="$demo" \
    bash "$root/scripts/demo.sh" --no-build "$@" >"$work/out" 2>&1
}

. "$root/scripts/windows-arch.sh"
if [ "$PELLORIN_WINDOWS_ARCH" = i686 ]; then
  notepad=/usr/lib/i386-linux-gnu/wine/i386-windows/notepad.exe
else
  notepad=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe
fi
tool=${1:-$root/build/win/tools/ucc.exe}
[ -f "$notepad" ] || { echo "no Wine notepad at $notepad"; exit 1; }
[ -f "$tool" ] || { echo "no stand-in game tool at $tool; build stand_in_ucc or name it"; exit 1; }
mkdir -p "$build/tools" "$build/src/app"
cp "$tool" "$build/tools/ucc.exe"

# Refusals, before anything is made.
check "an unknown option is refused" bash -c "! bash '$root/scripts/demo.sh' --bogus >/dev/null 2>&1"
env -u DISPLAY -u PELLORIN_DEMO_XVFB bash "$root/scripts/demo.sh" --no-build >"$work/out" 2>&1
status=$?
check "no display and no Xvfb: fails" test "$status" -ne 0
check "no display and no Xvfb: names the way out" grep -q PELLORIN_DEMO_XVFB=1 "$work/out"
demo
check "a build without Pellorin.exe: fails" test $? -ne 0
check "a build without Pellorin.exe: says so" grep -q "Pellorin.exe is not in" "$work/out"
check "a build without Pellorin.exe: makes nothing" test ! -e "$demo"

cp "$notepad" "$build/src/app/Pellorin.exe"

# First run: the game, the prefix and the install record are made, the program is shown.
demo
status=$?
check "first run succeeds" test "$status" -eq 0
[ "$status" -eq 0 ] || cat "$work/out"
check "the demo game has its cache index" test -f "$demo/game/Cache/cache.ini"
check "the stand-in tool is the game's ucc.exe" cmp -s "$tool" "$demo/game/System/ucc.exe"
record=$(grep -A3 -F '[Software\\Wow6432Node\\Unreal Technology\\Installed Apps\\UT2004]' \
  "$demo/wineprefix/system.reg" 2>/dev/null)
check "the install record is in the 32-bit view" grep -q '"Folder"="Z:\\\\' <<<"$record"
# system.reg doubles every backslash: Z:\\tmp\\...\\game
check "the install record names the demo game" grep -qF "${demo//\//\\\\}\\\\game\"" <<<"$record"
colours=$(identify -format '%k' "$demo/screenshot.png" 2>/dev/null || echo 0)
check "the screenshot shows a window" test "${colours:-0}" -gt 2

# Second run: what is there is kept.
echo mine >"$demo/game/Cache/marker"
demo
check "second run succeeds" test $? -eq 0
check "second run keeps the demo game" test -f "$demo/game/Cache/marker"

# --fresh: game and prefix are made again.
demo --fresh
check "fresh run succeeds" test $? -eq 0
check "fresh run makes the demo game again" test ! -e "$demo/game/Cache/marker"
check "fresh run records the game again" grep -q 'Installed Apps\\\\UT2004' "$demo/wineprefix/system.reg"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all demo checks passed"
