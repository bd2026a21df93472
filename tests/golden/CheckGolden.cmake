# Plays every recording under GOLDEN (one folder each, holding one .svx and maybe its .an)
# through sonvara-cli and compares what the commands write with the folder's expected/ files.
# Fails at the first file that differs, naming it.
#
#   cmake -DCLI=build/tools/cli/sonvara-cli -DGOLDEN=tests/golden -DOUT=/tmp/golden-out
#         [-DLOCALE=de_DE.UTF-8] [-DUPDATE=ON] -P tests/golden/CheckGolden.cmake
#
# LOCALE: the locale the caller put in LC_ALL; checked to be installed, so that a missing
# locale cannot pass as the C locale. UPDATE=ON writes the outputs into expected/ instead of
# comparing: only after a deliberate change of an output, and read the diff before committing.

cmake_minimum_required(VERSION 3.25)

foreach(var CLI GOLDEN OUT)
  if(NOT ${var})
    message(FATAL_ERROR "golden: -D${var}=... is missing")
  endif()
  # The commands run in other directories.
  get_filename_component(${var} "${${var}}" ABSOLUTE)
endforeach()

set(command_timeout 60)  # seconds for one command
set(image_width 400)     # the render's fixed image width

if(LOCALE)
  if(NOT "$ENV{LC_ALL}" STREQUAL "${LOCALE}")
    message(FATAL_ERROR "golden: LC_ALL is '$ENV{LC_ALL}', not ${LOCALE}")
  endif()
  execute_process(COMMAND locale -a OUTPUT_VARIABLE installed TIMEOUT 10)
  string(TOLOWER "\n${installed}\n" installed)
  string(TOLOWER "\n${LOCALE}\n" wanted)
  string(REPLACE "utf-8" "utf8" wanted "${wanted}")
  string(FIND "${installed}" "${wanted}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "golden: the locale ${LOCALE} is not installed (scripts/setup makes it)")
  endif()
endif()

# Every line of `lines` with `prefix` in front, appended to the caller's `out_var`.
function(append_prefixed out_var prefix lines)
  if(lines STREQUAL "")
    return()
  endif()
  string(REGEX REPLACE "\n$" "" lines "${lines}")
  string(REPLACE "\n" "\n${prefix}" lines "${lines}")
  set(${out_var} "${${out_var}}${prefix}${lines}\n" PARENT_SCOPE)
endfunction()

# Runs sonvara-cli ARGN in `work` and appends the command line, its exit status and what it
# printed to `messages` in the caller; with `stdout_file` the standard output goes to that
# file of work/out instead.
function(run_cli work stdout_file)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${work} TIMEOUT ${command_timeout}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(JOIN " " line ${ARGN})
  if(NOT status MATCHES "^[0-9]+$")
    message(FATAL_ERROR "golden: sonvara-cli ${line} (in ${work}): ${status}")
  endif()
  set(report "${messages}$ sonvara-cli ${line}\nexit ${status}\n")
  if(stdout_file)
    file(WRITE ${work}/out/${stdout_file} "${out}")
  else()
    append_prefixed(report "out: " "${out}")
  endif()
  append_prefixed(report "err: " "${err}")
  set(messages "${report}" PARENT_SCOPE)
endfunction()

# "<sha256>  <name>" for each file, one a line, into work/out/`list_file`.
function(write_checksums work list_file)
  set(text "")
  foreach(file IN LISTS ARGN)
    file(SHA256 ${work}/${file} sum)
    string(APPEND text "${sum}  ${file}\n")
  endforeach()
  file(WRITE ${work}/out/${list_file} "${text}")
endfunction()

# Prints the first lines of a diff of the two files, when there is a diff program.
function(print_difference expected actual)
  find_program(diff_program diff)
  if(NOT diff_program)
    return()
  endif()
  execute_process(COMMAND ${diff_program} -u ${expected} ${actual} OUTPUT_VARIABLE text
    TIMEOUT 10)
  string(LENGTH "${text}" length)
  if(length GREATER 3000)
    string(SUBSTRING "${text}" 0 3000 text)
    string(APPEND text "\n...")
  endif()
  message("${text}")
endfunction()

# The files of expected/ and of out/ must be the same set and hold the same bytes.
function(compare_outputs dir work)
  file(GLOB expected RELATIVE ${dir}/expected ${dir}/expected/*)
  file(GLOB written RELATIVE ${work}/out ${work}/out/*)
  list(SORT expected)
  list(SORT written)
  foreach(file IN LISTS written)
    if(NOT file IN_LIST expected)
      message(FATAL_ERROR "golden: ${work}/out/${file} was written but ${dir}/expected/ has "
        "no such file")
    endif()
  endforeach()
  foreach(file IN LISTS expected)
    if(NOT file IN_LIST written)
      message(FATAL_ERROR "golden: ${dir}/expected/${file} was not written this time")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${dir}/expected/${file}
      ${work}/out/${file} RESULT_VARIABLE differs)
    if(differs)
      print_difference(${dir}/expected/${file} ${work}/out/${file})
      message(FATAL_ERROR "golden: ${dir}/expected/${file} differs from what sonvara-cli "
        "wrote now, ${work}/out/${file} (LC_ALL=$ENV{LC_ALL})")
    endif()
  endforeach()
endfunction()

function(check_recording dir)
  get_filename_component(name ${dir} NAME)
  file(GLOB recording RELATIVE ${dir} ${dir}/*.svx)
  list(LENGTH recording count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "golden: ${dir} holds ${count} recordings, not one")
  endif()
  string(REGEX REPLACE "\\.svx$" "" stem ${recording})
  set(inputs ${recording})
  if(EXISTS ${dir}/${stem}.an)
    list(APPEND inputs ${stem}.an)
  endif()

  # A copy, so that nothing a command might write lands in the source tree.
  set(work ${OUT}/${name})
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work}/out)
  foreach(file IN LISTS inputs)
    file(COPY ${dir}/${file} DESTINATION ${work})
  endforeach()

  set(messages "")
  run_cli(${work} info.json info --json ${recording})
  run_cli(${work} "" xtf ${recording} ${stem}.xtf)
  run_cli(${work} "" track ${recording} --csv out/track.csv)
  run_cli(${work} "" events ${recording} --csv out/events.csv)
  run_cli(${work} "" render ${recording} --out png --width ${image_width}
    --sensors out/sensors.csv)
  file(WRITE ${work}/out/messages.txt "${messages}")

  set(xtf "")
  if(EXISTS ${work}/${stem}.xtf)
    set(xtf ${stem}.xtf)
  endif()
  write_checksums(${work} xtf.sha256 ${xtf})
  file(GLOB images RELATIVE ${work} ${work}/png/*.png)
  list(SORT images)
  write_checksums(${work} png.sha256 ${images})

  # Reading a recording never changes it or its event file.
  foreach(file IN LISTS inputs)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${dir}/${file} ${work}/${file}
      RESULT_VARIABLE changed)
    if(changed)
      message(FATAL_ERROR "golden: the commands changed ${work}/${file}")
    endif()
  endforeach()

  if(UPDATE)
    file(REMOVE_RECURSE ${dir}/expected)
    file(COPY ${work}/out/ DESTINATION ${dir}/expected)
    message(STATUS "golden: wrote ${dir}/expected")
  else()
    compare_outputs(${dir} ${work})
  endif()
endfunction()

file(GLOB folders LIST_DIRECTORIES true ${GOLDEN}/*)
list(SORT folders)
set(checked 0)
foreach(dir IN LISTS folders)
  if(IS_DIRECTORY ${dir})
    check_recording(${dir})
    math(EXPR checked "${checked} + 1")
  endif()
endforeach()
if(checked LESS 3)
  message(FATAL_ERROR "golden: ${checked} recordings under ${GOLDEN}, expected at least 3")
endif()
if(UPDATE)
  message(STATUS "golden: wrote the expected outputs of ${checked} recordings")
else()
  message(STATUS "golden: ${checked} recordings give the expected outputs (LC_ALL=$ENV{LC_ALL})")
endif()
