# Options every target of the project links, so no target can miss them.
add_library(quintaline_options INTERFACE)
target_compile_options(quintaline_options INTERFACE -Wall -Wextra -Wpedantic -Werror)

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
