# Helpers that give every target of the project the same options.
#
# The core is split into one static library per folder of src/ so that the
# layering (link below decode below run, ...) is checked by the linker;
# quintaline_core is all of them together.

add_library(quintaline_core INTERFACE)

# ql_core_library(<folder> SOURCES ... [DEPS ...])
function(ql_core_library folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  set(target ql_${folder})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC quintaline_options ${ARG_DEPS})
  target_link_libraries(quintaline_core INTERFACE ${target})
endfunction()

# ql_test_options(<target>)
# A test program is compiled for a quick build: with line tables only, and
# unoptimised where the build optimises. Its failures still name file and
# line; the code under test is the libraries', built as configured.
function(ql_test_options target)
  target_compile_options(${target} PRIVATE -g1 $<$<CONFIG:RelWithDebInfo,Release,MinSizeRel>:-O0>)
endfunction()

# ql_test(<name> LABEL <label> SOURCES ... [DEPS ...])
# A GoogleTest program whose tests are registered as <label>.<Suite>.<Test>.
function(ql_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE quintaline_options ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  ql_test_options(${name})
  gtest_discover_tests(${name}
    TEST_PREFIX "${ARG_LABEL}."
    PROPERTIES LABELS ${ARG_LABEL}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 30)
endfunction()
