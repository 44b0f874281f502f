#!/usr/bin/env bash
# Checks the program as it ships: a 32-bit (PE32, i386) Windows GUI executable that imports no
# DLL beyond those every Windows system has, so it runs as one file with nothing beside it.
#   check_program.sh PELLORIN_EXE
set -euo pipefail
program=$1
headers=$(i686-w64-mingw32-objdump -p "$program")
fail() { echo "check_program: $program: $*" >&2; exit 1; }
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit (i386) Windows executable"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI program"
system_dlls=' ADVAPI32.DLL COMCTL32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL SHELL32.DLL USER32.DLL '
while read -r dll; do
  [[ "$system_dlls" == *" ${dll^^} "* ]] || fail "imports $dll, which is not part of Windows"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
echo "check_program: $program is a 32-bit GUI program importing only system DLLs"
