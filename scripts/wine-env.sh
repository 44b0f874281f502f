# Sourced by the Wine scripts: the Wine prefix lives inside the build folder, never in ~/.wine.
# PELLORIN_BUILD_DIR names the build folder; WINEPREFIX may be set by the caller instead.
: "${WINEPREFIX:=${PELLORIN_BUILD_DIR:?PELLORIN_BUILD_DIR or WINEPREFIX must be set}/wineprefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
. "$(dirname "${BASH_SOURCE[0]}")/wine-loader.sh"
