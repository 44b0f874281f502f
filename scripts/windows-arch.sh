# Sourced by the scripts that build for Windows. The program is a 32-bit (i686) executable, like
# the game, and is tested as one wherever Wine can run 32-bit programs. Some machines (sandboxed
# kernels without 32-bit support) cannot: there the tests, the end-to-end test and the benchmark
# are built for x86_64 and run under Wine's 64-bit loader, while the program itself is still
# built for i686 and checked as a file. PELLORIN_WINDOWS_ARCH=i686|x86_64 overrides the choice.
windows_arch_can_run_32_bit() {
  # Before Wine is installed nothing tells; the set-up runs first wherever it matters.
  [ ! -e /usr/lib/wine/wine ] || /usr/lib/wine/wine --version >/dev/null 2>&1
}
if [ -z "${PELLORIN_WINDOWS_ARCH:-}" ]; then
  if windows_arch_can_run_32_bit; then PELLORIN_WINDOWS_ARCH=i686; else PELLORIN_WINDOWS_ARCH=x86_64; fi
fi
export PELLORIN_WINDOWS_ARCH
windows_toolchain="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/toolchain-mingw-$PELLORIN_WINDOWS_ARCH.cmake"
# The build folder of the Windows tests, below the source folder: one per architecture, since a
# build folder keeps the toolchain it was made with.
if [ "$PELLORIN_WINDOWS_ARCH" = i686 ]; then windows_build_folder=build/win; else windows_build_folder=build/win64; fi
