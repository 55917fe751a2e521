# The fuzzing build: libFuzzer and its sanitizers exist in clang only, and the harnesses reach
# the core alone, so the Qt layers stay out.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KORVANE_FUZZ needs clang (libFuzzer); configure with CC=clang CXX=clang++ "
                      "(found ${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER})")
endif()
if(NOT KORVANE_CORE_ONLY)
  message(FATAL_ERROR "KORVANE_FUZZ builds the core only: add -DKORVANE_CORE_ONLY=ON")
endif()
if(KORVANE_SANITIZE)
  message(FATAL_ERROR "KORVANE_FUZZ brings its own sanitizers: leave KORVANE_SANITIZE off")
endif()
# Every core library (and the core tests of this build) carries coverage for the fuzzer and the
# sanitizers; an undefined behaviour stops the run like a crash.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=all)
add_link_options(-fsanitize=address,undefined)
