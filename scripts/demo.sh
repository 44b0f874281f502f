#!/usr/bin/env bash
# The demo: installs what is missing, builds the program, makes a demo game folder with a full
# download cache, records it as the installed game in a Wine prefix of its own and starts the
# program in a window on your display.
#
#   bash scripts/demo.sh              build, prepare what is not there yet, run
#   bash scripts/demo.sh --fresh      make the demo game and the prefix again, so the program
#                                     sees its first run (no preferences) once more
#   bash scripts/demo.sh --no-build   run the program as last built (no set-up, no build)
#
# Environment:
#   PELLORIN_DEMO_XVFB=1          run on a private Xvfb server instead and save a screenshot
#                                 (build/demo/screenshot.png) after PELLORIN_DEMO_SHOT_DELAY
#                                 seconds (default 12), then end the program
#   PELLORIN_DEMO_DISPLAY=:N      display number for that Xvfb server (default: a free one)
#   PELLORIN_WIN_BUILD=DIR        Windows build folder (default build/win; build/win64 where
#                                 32-bit programs cannot run, see scripts/windows-arch.sh)
#   PELLORIN_DEMO_DIR=DIR         where the demo game and its prefix live (default build/demo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fresh=0
build_program=1
for arg in "$@"; do
  case "$arg" in
    --fresh) fresh=1 ;;
    --no-build) build_program=0 ;;
    *) echo "usage: bash scripts/demo.sh [--fresh] [--no-build]" >&2; exit 2 ;;
  esac
done

demo=${PELLORIN_DEMO_DIR:-$root/build/demo}
game=$demo/game
screenshot=$demo/screenshot.png
export WINEPREFIX=$demo/wineprefix
export WINEDEBUG=-all
# No prompts to install Wine's .NET and HTML engines into the new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
install_key='HKLM\SOFTWARE\Unreal Technology\Installed Apps\UT2004'

say() { echo "demo: $*"; }
die() { echo "demo: $*" >&2; exit 1; }

use_xvfb=0
if [ "${PELLORIN_DEMO_XVFB:-0}" = 1 ]; then
  use_xvfb=1
elif [ -z "${DISPLAY:-}" ]; then
  die "no X display (DISPLAY is unset). Run this from a desktop session, or set PELLORIN_DEMO_XVFB=1 to run the program on a private Xvfb server and save a screenshot."
fi

[ "$build_program" = 1 ] && bash scripts/setup.sh
# The program is built for i686 unless this machine cannot run 32-bit programs (windows-arch.sh).
. scripts/wine-loader.sh
build=${PELLORIN_WIN_BUILD:-$root/$windows_build_folder}
if [ "$build_program" = 1 ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain"
  cmake --build "$build" --target Pellorin stand_in_ucc
fi

program=$build/src/app/Pellorin.exe
game_tool=$build/tools/ucc.exe
[ -f "$program" ] || die "Pellorin.exe is not in $build; build it first (run without --no-build)"
[ -f "$game_tool" ] || die "the stand-in game tool $game_tool is missing; build the target stand_in_ucc"

if [ "$fresh" = 1 ]; then
  say "removing the demo game and its Wine prefix"
  if [ -d "$WINEPREFIX" ]; then wineserver -k </dev/null >/dev/null 2>&1 || true; wineserver -w </dev/null 2>/dev/null || true; fi
  rm -rf "$game" "$WINEPREFIX" "$screenshot"
fi

if [ ! -d "$game" ]; then
  python3 scripts/make_demo_game.py "$game"
fi
# Every run takes the stand-in tool as last built.
cp "$game_tool" "$game/System/ucc.exe"

# The display is chosen before Wine starts, so that its windows go to it.
xvfb_pid=
stop_xvfb() { if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi; }
trap stop_xvfb EXIT
if [ "$use_xvfb" = 1 ]; then
  display=${PELLORIN_DEMO_DISPLAY:-}
  if [ -z "$display" ]; then
    for n in $(seq 120 199); do
      if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=:$n; break; fi
    done
  fi
  [ -n "$display" ] || die "no free X display number for Xvfb"
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo -display "$display" >/dev/null 2>&1 || die "Xvfb did not start on $display"
  say "Xvfb on $display"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  say "creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot --init </dev/null >/dev/null 2>&1 || die "wineboot could not create $WINEPREFIX"
fi

# The game records its install folder in the 32-bit view of the registry, where the 32-bit
# program looks for it.
game_windows=$(winepath -w "$game" 2>/dev/null | tr -d '\r')
[ -n "$game_windows" ] || die "winepath found no Windows path for $game"
wine reg add "$install_key" /v Folder /t REG_SZ /d "$game_windows" /f /reg:32 </dev/null >/dev/null 2>&1 \
  || die "could not write $install_key"
# Read it back as a 32-bit program sees it: with the 32-bit registry tool, or where only 64-bit
# programs run, through the 32-bit view.
if [ "$PELLORIN_WINDOWS_ARCH" = i686 ]; then
  recorded=$(wine 'C:\windows\syswow64\reg.exe' query "$install_key" /v Folder </dev/null 2>/dev/null | tr -d '\r' || true)
else
  recorded=$(wine reg query "$install_key" /v Folder /reg:32 </dev/null 2>/dev/null | tr -d '\r' || true)
fi
case "$recorded" in
  *"REG_SZ    $game_windows"*) say "the game's install folder is $game_windows" ;;
  *) die "a 32-bit program does not read the game's install folder from $install_key" ;;
esac

cd "$game"
if [ "$use_xvfb" = 0 ]; then
  say "starting $program (close its window to end the demo)"
  wine "$program" </dev/null
else
  # Wine's own desktop window holds the program's windows, with their frames drawn, since no
  # window manager runs on the private server.
  say "starting $program on $DISPLAY"
  wine explorer /desktop=Pellorin,1280x1024 "$program" </dev/null >/dev/null 2>&1 &
  program_pid=$!
  sleep "${PELLORIN_DEMO_SHOT_DELAY:-12}"
  shot_taken=0
  import -display "$DISPLAY" -window root "$screenshot" && shot_taken=1
  # Ends the programs of the demo prefix only, which this script started.
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  wait "$program_pid" 2>/dev/null || true
  [ "$shot_taken" = 1 ] || die "no screenshot taken"
  say "screenshot saved to $screenshot"
fi
