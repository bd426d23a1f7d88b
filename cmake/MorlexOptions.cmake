# Project-wide compile settings, carried by one interface target that every
# target of the project links to.
add_library(morlex_settings INTERFACE)
add_library(Morlex::settings ALIAS morlex_settings)
target_compile_features(morlex_settings INTERFACE cxx_std_20)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # Warning flags are the project's own business, not an installed package's.
  target_compile_options(morlex_settings INTERFACE "$<BUILD_INTERFACE:-Wall;-Wextra;-Wpedantic>")
  if(MORLEX_WARNINGS_AS_ERRORS)
    target_compile_options(morlex_settings INTERFACE "$<BUILD_INTERFACE:-Werror>")
  endif()
  if(MORLEX_SANITIZE)
    target_compile_options(morlex_settings INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(morlex_settings INTERFACE -fsanitize=address,undefined)
  endif()
endif()

# morlex_add_library(NAME SOURCES... [DEPS ...]): a static library of the
# project whose public headers live in <folder>/include.
function(morlex_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:include>)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE morlex_settings)
  # The public headers are C++20: consumers of an installed package need it too.
  target_compile_features(${name} PUBLIC cxx_std_20)
endfunction()

# Fuzzing: every library is instrumented for libFuzzer; the fuzz targets link
# the fuzzer's main. Needs clang.
option(MORLEX_BUILD_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(MORLEX_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "MORLEX_BUILD_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  target_compile_options(morlex_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()
