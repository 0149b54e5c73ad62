# Options every target of the project links, so no target can miss them.
add_library(quintaline_options INTERFACE)
target_compile_options(quintaline_options INTERFACE -Wall -Wextra -Wpedantic -Werror)

if(QUINTALINE_SANITIZE)
  target_compile_options(quintaline_options INTERFACE
    -fsanitize=${QUINTALINE_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quintaline_options INTERFACE -fsanitize=${QUINTALINE_SANITIZE})
endif()
