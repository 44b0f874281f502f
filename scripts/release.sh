#!/usr/bin/env bash
# Builds the program as it ships (Release, i686) in a clean build/release, checks it, and writes
# dist/Pellorin-<version>-win32.zip with Pellorin.exe and the players' README.txt. The version
# is the one of project() in CMakeLists.txt. Prints the archive's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

version=$(sed -n 's/^project(Pellorin VERSION \([0-9][0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt's project()" >&2; exit 1; }

build=$root/build/release
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLORIN_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)" --target Pellorin >&2

# Players get the program without its symbols and the runtime's debug sections, under half the
# size; the build folder keeps the full one.
staging=$build/package
mkdir -p "$staging" dist
i686-w64-mingw32-strip -o "$staging/Pellorin.exe" "$build/src/app/Pellorin.exe"
bash scripts/check_program.sh "$staging/Pellorin.exe" >&2
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' scripts/release_readme.txt >"$staging/README.txt"
archive=$root/dist/Pellorin-$version-win32.zip
rm -f "$archive"  # zip adds to an archive that exists
(cd "$staging" && zip -q -X "$archive" Pellorin.exe README.txt)
echo "$archive"
