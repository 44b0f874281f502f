# GoogleTest from the system's sources, built with the same toolchain as the code it tests.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(PELLORIN_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest's source folder")
add_subdirectory(${PELLORIN_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(PN_SCRIPTS ${CMAKE_SOURCE_DIR}/scripts)

if(NOT PELLORIN_NATIVE)
  # One persistent Wine server for the whole run: started and warmed before the first test,
  # stopped after the last one.
  add_test(NAME wine_server_start COMMAND ${PN_SCRIPTS}/wine-start.sh)
  add_test(NAME wine_server_stop COMMAND ${PN_SCRIPTS}/wine-stop.sh)
  set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine
    ENVIRONMENT "PELLORIN_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 300)
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine
    ENVIRONMENT "PELLORIN_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 120)
endif()

# pn_add_test(NAME <name> LAYER <core|win|job|ui> SOURCES <files...> [LIBS <targets...>] [WINDOWED])
#   LAYER     the layer under test: the test links it (and so the layers below it) and nothing
#             above. A test of core is built and run natively as well as under Wine.
#   WINDOWED  the test opens windows; it runs with the others inside Wine's virtual desktop.
function(pn_add_test)
  cmake_parse_arguments(T "WINDOWED" "NAME;LAYER" "SOURCES;LIBS" ${ARGN})
  if(PELLORIN_NATIVE AND NOT T_LAYER STREQUAL "core")
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE pn_${T_LAYER} ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600
    ENVIRONMENT "PELLORIN_BUILD_DIR=${CMAKE_BINARY_DIR};PELLORIN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  if(NOT PELLORIN_NATIVE)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  if(T_WINDOWED)
    set_tests_properties(${T_NAME} PROPERTIES LABELS windowed)
  endif()
endfunction()
