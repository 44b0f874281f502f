# Sourced by the scripts that run Wine: where 32-bit programs cannot run, "wine" and "wineboot"
# are Wine's 64-bit loader (see windows-arch.sh).
. "$(dirname "${BASH_SOURCE[0]}")/windows-arch.sh"
if [ "$PELLORIN_WINDOWS_ARCH" = x86_64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  wine64_shims="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64"
  case ":$PATH:" in *":$wine64_shims:"*) ;; *) export PATH="$wine64_shims:$PATH" ;; esac
fi
