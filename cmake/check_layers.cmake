# Checks that every #include of the program's sources points down the layers or stays in its
# own layer:  cmake -DSOURCE_DIR=<repo> -P cmake/check_layers.cmake
#
#   1 runtime/   2 ui/store/ (and the generated ui/unit_ids.hpp)   3 ui/widgets/   4 content/
#   5 reading/ and drills/ (side by side: neither includes the other)   6 app/
# The bake tools (tools/) may include runtime/, ui/store/, content/ and their own folder only.
# Tests, benchmarks and fuzz targets sit above everything.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# The layer of a path relative to the repository ("" for a path of no layer).
function(layer_of path out)
  set(r "")
  if(path MATCHES "^runtime/")
    set(r 1)
  elseif(path MATCHES "^ui/store/" OR path MATCHES "^ui/unit_ids")
    set(r 2)
  elseif(path MATCHES "^ui/")
    set(r 3)
  elseif(path MATCHES "^content/")
    set(r 4)
  elseif(path MATCHES "^(reading|drills)/")
    set(r 5)
  elseif(path MATCHES "^app/")
    set(r 6)
  endif()
  set(${out} "${r}" PARENT_SCOPE)
endfunction()

set(faults "")
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/runtime/* ${SOURCE_DIR}/ui/* ${SOURCE_DIR}/content/* ${SOURCE_DIR}/reading/*
     ${SOURCE_DIR}/drills/* ${SOURCE_DIR}/app/* ${SOURCE_DIR}/tools/*)
list(FILTER files INCLUDE REGEX "\\.(cpp|hpp|h|def)$")
foreach(f ${files})
  layer_of(${f} own)
  string(REGEX MATCH "^[a-z_]+" own_folder ${f})
  file(STRINGS ${SOURCE_DIR}/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" inc "${line}")
    layer_of(${inc} theirs)
    string(REGEX MATCH "^[a-z_]+" their_folder ${inc})
    set(bad FALSE)
    if(own_folder STREQUAL "tools")
      if(NOT inc MATCHES "^(runtime|ui/store|content|tools)/" AND inc MATCHES "/")
        set(bad TRUE)
      endif()
    elseif(theirs STREQUAL "")
      # a header of the same folder named without its path, or a generated one
    elseif(theirs GREATER own)
      set(bad TRUE)
    elseif(theirs EQUAL own AND own EQUAL 5 AND NOT own_folder STREQUAL their_folder)
      set(bad TRUE)
    endif()
    if(bad)
      list(APPEND faults "${f} includes ${inc}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(LENGTH faults n)
  string(REPLACE ";" "\n  " text "${faults}")
  message(FATAL_ERROR "${n} includes point up the layers:\n  ${text}")
endif()
list(LENGTH files n)
message(STATUS "layers: ${n} files, every include points down")
