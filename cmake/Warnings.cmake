# Every target of ours is built with the same warnings; CI turns them into errors.
function(sonvara_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "")
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
