# Options every target of the project links, so no target can miss them.
add_library(quintaline_options INTERFACE)

# The warnings clang and g++ both know; g++ adds the ones only it has.
# Qt's and the other libraries' headers come in through imported targets,
# whose include folders are SYSTEM, so these flags judge only our code.
set(QUINTALINE_WARNINGS
  -Wall -Wextra -Wpedantic
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wunused
  -Woverloaded-virtual -Wconversion -Wsign-conversion -Wnull-dereference
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough -Wmisleading-indentation)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND QUINTALINE_WARNINGS
    -Wduplicated-cond -Wduplicated-branches -Wlogical-op -Wuseless-cast)
endif()
target_compile_options(quintaline_options INTERFACE ${QUINTALINE_WARNINGS})

# Off unless asked (every preset asks), so a newer compiler with a new
# warning does not break a packager's build.
option(QUINTALINE_WERROR "Treat warnings as errors" OFF)
if(QUINTALINE_WERROR)
  target_compile_options(quintaline_options INTERFACE -Werror)
endif()

if(QUINTALINE_SANITIZE)
  target_compile_options(quintaline_options INTERFACE
    -fsanitize=${QUINTALINE_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quintaline_options INTERFACE -fsanitize=${QUINTALINE_SANITIZE})
endif()

# For fuzzing, every library carries libFuzzer's coverage instrumentation;
# only the fuzz targets themselves link the fuzzer's main (fuzz/).
if(QUINTALINE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUINTALINE_FUZZ needs clang++ (use the fuzz preset)")
  endif()
  target_compile_options(quintaline_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
