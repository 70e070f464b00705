# Warnings and sanitizers, set once for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
# g++ 12 reports overlapping copies inside std::basic_string assignments that cannot happen
# (GCC bug 105329); the warning says nothing about this project's code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
if(TW_WERROR)
  add_compile_options(-Werror)
endif()
if(TW_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TW_FUZZ)
  # Coverage for libFuzzer on every library, with the sanitizers that turn faults into crashes.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()
