# The program is built in layers, each a static library of its own folder below src/:
#   core  everything without <windows.h>, built natively too
#   win   thin wrappers of the Win32 API
#   job   the program's work without windows
#   ui    the windows, dialogs and resources
# A layer may include its own headers and those of the layers below it, and nothing else: its
# headers are reachable (as "<layer>/<file>.h") only through a folder of the build tree that
# holds that one layer, and a target sees that folder only when it links the layer. An include
# of a higher layer therefore fails to compile.
function(pn_add_layer name)
  cmake_parse_arguments(L "" "" "BELOW;LIBS" ${ARGN})
  add_library(pn_${name} STATIC)
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC COPY_ON_ERROR)
  target_include_directories(pn_${name} PUBLIC ${root})
  target_link_libraries(pn_${name} PUBLIC ${L_BELOW} ${L_LIBS})
  add_subdirectory(${CMAKE_SOURCE_DIR}/src/${name})
endfunction()
