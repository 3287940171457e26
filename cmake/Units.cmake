# How units, tests and tools are declared.
#
# Every unit is a static library with a layer number. A unit may link only units of its own
# layer or below, so the link graph shows the layering:
#   1 arithmetic and memory   2 text toolkit   3 files and registry
#   4 geometry, drawing, text output   5 window framework   6 uninstaller

add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
  -Wall -Wextra
  $<$<BOOL:${WARNINGS_AS_ERRORS}>:-Werror>)
target_compile_definitions(project_options INTERFACE
  $<$<PLATFORM_ID:Windows>:WIN32_LEAN_AND_MEAN NOMINMAX STRICT>
  $<$<NOT:$<PLATFORM_ID:Windows>>:_GLIBCXX_ASSERTIONS>)
if(SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
if(BUILD_FUZZERS)
  # Coverage feedback for the fuzzers reaches into the units themselves.
  target_compile_options(project_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# add_unit(<name> LAYER <n> [HOST] SOURCES <src>... [WIN_SOURCES <src>...]
#          [DEPS <unit>...] [SYSLIBS <lib>...])
# HOST: the unit (its SOURCES) makes no operating-system call and is built for the host too.
# WIN_SOURCES are built only for Windows; SYSLIBS are the system DLLs it imports there.
function(add_unit name)
  cmake_parse_arguments(U "HOST" "LAYER" "SOURCES;WIN_SOURCES;DEPS;SYSLIBS" ${ARGN})
  if(NOT WIN32 AND NOT U_HOST)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY UNITS ${name})
  set(sources ${U_SOURCES})
  if(WIN32)
    list(APPEND sources ${U_WIN_SOURCES})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${U_DEPS} PRIVATE project_options)
  if(WIN32)
    target_link_libraries(${name} PUBLIC ${U_SYSLIBS})
  endif()
  set_target_properties(${name} PROPERTIES UNIT_LAYER ${U_LAYER})
  install(TARGETS ${name} ARCHIVE DESTINATION lib)
endfunction()

# Checks, once every folder is read, that each unit links only units of its layer or below.
function(check_unit_layers)
  get_property(units GLOBAL PROPERTY UNITS)
  foreach(unit IN LISTS units)
    get_target_property(layer ${unit} UNIT_LAYER)
    get_target_property(deps ${unit} LINK_LIBRARIES)
    foreach(dep IN LISTS deps)
      if(dep IN_LIST units)
        get_target_property(dep_layer ${dep} UNIT_LAYER)
        if(dep_layer GREATER layer)
          message(FATAL_ERROR "unit ${unit} (layer ${layer}) may not link ${dep} (layer ${dep_layer})")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL check_unit_layers)

# add_unit_test(<name> [HOST] SOURCES <src>... LIBS <lib>...)
# A GoogleTest program. HOST: also built and run on the host (under the sanitizers).
# Every test runs in the win64 build under Wine; the win32 build only compiles them.
function(add_unit_test name)
  cmake_parse_arguments(T "HOST" "" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32 AND NOT T_HOST)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main project_options)
  if(WIN32 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  # PRE_TEST: the case list is read when CTest runs, so nothing runs under Wine at build time.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120)
endfunction()

# add_fuzzer(<name> SOURCES <src>... LIBS <lib>... SEEDS <dir>)
# A libFuzzer target (host build with clang). CTest runs it for FUZZ_SECONDS on a working
# corpus in the build folder, started from the committed seeds; any finding fails the test
# and leaves the input as <name>-crash-* in the build folder.
set(FUZZ_SECONDS 20 CACHE STRING "How long CTest runs each fuzz target")
function(add_fuzzer name)
  cmake_parse_arguments(F "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} project_options)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME fuzz.${name}
    COMMAND ${name} -max_total_time=${FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
            -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}- ${corpus} ${F_SEEDS})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endfunction()
