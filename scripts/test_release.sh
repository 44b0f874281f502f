#!/usr/bin/env bash
# Checks the release archive: exactly Pellorin.exe and README.txt, the README with CR LF line
# ends and the version of the build, the program as it ships (check_program.sh) and carrying the
# same version in its title.
#   test_release.sh [ARCHIVE]   without ARCHIVE, makes one with release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archive=${1:-$(bash "$root/scripts/release.sh")}
version=$(sed -n 's/^project(Pellorin VERSION \([0-9][0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
fail() { echo "test_release: $archive: $*" >&2; exit 1; }

[ "$(basename "$archive")" = "Pellorin-$version-win32.zip" ] || fail "not named for version $version"
listing=$(unzip -Z1 "$archive" | sort)
[ "$listing" = $'Pellorin.exe\nREADME.txt' ] || fail "holds $(tr '\n' ' ' <<<"$listing")instead of Pellorin.exe and README.txt"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$archive" -d "$unpacked"
readme=$unpacked/README.txt
count_bytes() { tr -cd "$1" <"$readme" | wc -c; }
# Every line ends in CR LF (the last one too) and no CR stands anywhere else.
[ "$(tail -c 2 "$readme" | od -An -c | tr -d ' ')" = '\r\n' ] &&
  [ "$(grep -c $'\r$' "$readme")" -eq "$(count_bytes '\n')" ] &&
  [ "$(count_bytes '\r')" -eq "$(count_bytes '\n')" ] || fail "README.txt has lines not ended by CR LF"
grep -q "^Pellorin v$version"$'\r$' "$readme" || fail "README.txt is not headed Pellorin v$version"

bash "$root/scripts/check_program.sh" "$unpacked/Pellorin.exe"
# The title the program gives its windows and boxes, a string of its own in the file.
LC_ALL=C grep -qaP "\\x00Pellorin v${version//./\\.}\\x00" "$unpacked/Pellorin.exe" ||
  fail "Pellorin.exe does not call itself Pellorin v$version"
echo "test_release: $archive holds Pellorin.exe and README.txt, both as they ship"
