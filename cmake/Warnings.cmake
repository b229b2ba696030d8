# Strict warnings for one target; errors too when TQ474_WERROR is on (CI).
function(tq474_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wsign-conversion)
  if(TQ474_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
