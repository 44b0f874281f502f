# Each room lists its sources with these, so that no two rooms edit the same build file.
#   pn_core_sources(...)     code that does not include <windows.h> (also built natively)
#   pn_windows_sources(...)  the Windows layer, built only for Windows
function(pn_core_sources)
  target_sources(pn_core PRIVATE ${ARGN})
endfunction()

function(pn_windows_sources)
  if(NOT PELLORIN_NATIVE)
    target_sources(pn_windows PRIVATE ${ARGN})
  endif()
endfunction()
