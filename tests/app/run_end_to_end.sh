#!/usr/bin/env bash
# Runs the end-to-end driver against Pellorin.exe in a Wine prefix of its own, fresh for every run:
# a copy of a prefix template made once per build folder (the first run of wineboot is the slow
# part). The demo game is made anew, its install record written in the 32-bit registry view, the
# stand-in game tool placed as System\ucc.exe. With PELLORIN_SCREENSHOT set to a .png path, the
# root window is captured once the main window lists the cache.
#   run_end_to_end.sh BUILD_DIR PELLORIN_EXE DRIVER_EXE UCC_EXE
set -euo pipefail
build=$1 program=$2 driver=$3 tool=$4
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$build/e2e
template=$work/prefix-template
run=$work/run
install_key='HKLM\SOFTWARE\Unreal Technology\Installed Apps\UT2004'

export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
. "$source_dir/scripts/wine-loader.sh"
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

if [ ! -f "$template/system.reg" ]; then
  rm -rf "$template.new"
  mkdir -p "$template.new"
  export WINEPREFIX=$template.new
  wineboot -i </dev/null >/dev/null 2>&1 || true
  # The program's windows open inside a virtual desktop, with frames drawn without a window manager.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  mv "$template.new" "$template"
fi

export WINEPREFIX=$run/prefix
if [ -d "$run/prefix" ]; then wineserver -k </dev/null >/dev/null 2>&1 || true; fi
rm -rf "$run"
mkdir -p "$run"
cp -a "$template" "$run/prefix"
python3 "$source_dir/scripts/make_demo_game.py" "$run/game" >/dev/null
cp "$tool" "$run/game/System/ucc.exe"

cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
}
trap cleanup EXIT
setsid wineserver -p </dev/null >/dev/null 2>&1 &
game=$(windows_path "$run/game")
wine reg add "$install_key" /v Folder /t REG_SZ /d "$game" /f /reg:32 </dev/null >/dev/null 2>&1

export PELLORIN_EXE=$(windows_path "$program") PELLORIN_GAME=$game
shot=${PELLORIN_SCREENSHOT:-}
if [ -n "$shot" ]; then
  export PELLORIN_SHOT_READY=$(windows_path "$run/shot-ready") PELLORIN_SHOT_TAKEN=$(windows_path "$run/shot-taken")
fi
wine "$driver" --gtest_color=no </dev/null &
driver_pid=$!
if [ -n "$shot" ]; then
  while kill -0 "$driver_pid" 2>/dev/null && [ ! -f "$run/shot-ready" ]; do sleep 0.2; done
  if [ -f "$run/shot-ready" ]; then
    sleep 1  # let the list finish painting
    mkdir -p "$(dirname "$shot")"
    import -display "$DISPLAY" -window root "$shot" || echo "no screenshot taken" >&2
    touch "$run/shot-taken"
  fi
fi
wait "$driver_pid"
