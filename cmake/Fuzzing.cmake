# The fuzzing build: libFuzzer and the address and undefined-behaviour sanitizers, clang only.
# The core layers are compiled with libFuzzer's coverage instrumentation but without its main();
# each fuzz target links libFuzzer itself, which supplies main() and drives the target.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "TQ474_FUZZ needs clang (libFuzzer); configure with the preset \"fuzz\"")
endif()

set(TQ474_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined
                     -fno-omit-frame-pointer)

# Coverage and sanitizers for a library the fuzz targets link.
function(tq474_fuzz_instrument target)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link ${TQ474_SANITIZERS})
endfunction()

# A fuzz target: one source file, libFuzzer's main() and the sanitizers' runtimes.
function(tq474_fuzz_target name source)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${TQ474_SANITIZERS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer ${TQ474_SANITIZERS})
  target_link_libraries(${name} PRIVATE ${ARGN})
  tq474_warnings(${name})
endfunction()
