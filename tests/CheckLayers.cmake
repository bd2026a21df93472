cmake_minimum_required(VERSION 3.20)
# Fails when a folder of src/ includes a folder above its floor. From the bottom up:
#   common, platform  <  shell  <  the subsystems  <  document  <  models, app  <  ui, app/ui
# A subsystem may include the others (they share types), never the document or anything above.
set(subsystems acquisition imaging datafiles sensors gps export recordings survey)
set(above_subsystems document models app ui)
set(allowed_common common)
set(allowed_shell common platform shell)

function(check_folder folder forbidden)
  file(GLOB_RECURSE files ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
  foreach(f IN LISTS files)
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([a-z]+)/.*" "\\1" target "${line}")
      if(target IN_LIST forbidden)
        message(SEND_ERROR "${f} includes ${target}/, a floor above ${folder}/: ${line}")
      endif()
    endforeach()
  endforeach()
endfunction()

foreach(dir IN LISTS subsystems)
  check_folder(${dir} "${above_subsystems}")
endforeach()
check_folder(shell "acquisition;imaging;datafiles;sensors;gps;export;recordings;survey;${above_subsystems}")
check_folder(common "platform;shell;acquisition;imaging;datafiles;sensors;gps;export;recordings;survey;${above_subsystems}")
check_folder(document "models;app;ui")
check_folder(models "app;ui")
