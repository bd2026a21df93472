# Fails when a file of the logic library includes a Qt header.
file(GLOB core_files ${SRC}/*/*.h ${SRC}/*/*.cpp)
foreach(f IN LISTS core_files)
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|qt[A-Za-z]*/)")
  if(hits)
    message(FATAL_ERROR "Qt header in the logic library: ${f}: ${hits}")
  endif()
endforeach()
