# Strict warnings for one target; errors too when TQ474_WERROR is on (the presets and CI).
function(tq474_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion)
  # g++ 12 reports a false -Wrestrict inside std::string's operator+ when it is inlined at -O2
  # and above (GCC bug 105329); the warning stays on for every other compiler.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(TQ474_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
