# Checks that no source includes a header from a floor of the house it may not
# use: a library uses only the libraries it declares, directly or through
# them, so every include arrow points down.
#
# Inputs:
#   LAYERS_TABLE  a table written by stavlin_check_layers(): LAYER_FOLDERS, the
#                 floors' folders (relative to LAYERS_ROOT), and for floor i
#                 LAYER_ALLOWED_<i>, the folders it may use
#   LAYERS_ROOT   the folder the table's folders are relative to
#   GRAPH         when true, also prints the include graph between folders
#                 (each room of a floor counted apart), a line per arrow
#
# Run it alone with
#   cmake -DLAYERS_TABLE=build/test/StavlinLayers.cmake -DLAYERS_ROOT=. [-DGRAPH=ON] -P cmake/CheckLayers.cmake
# Rooms (the subfolders of a floor that are not floors themselves) of more
# than 40 source files are reported as a warning: split them by job.

cmake_policy(VERSION 3.22)
get_filename_component(LAYERS_ROOT "${LAYERS_ROOT}" ABSOLUTE)
include("${LAYERS_TABLE}")

# The floor that holds a path: the longest floor folder it lies in, or "".
function(_stavlin_floor_of path out)
  set(best "")
  set(best_length 0)
  foreach(folder ${LAYER_FOLDERS})
    string(LENGTH "${folder}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${folder}/" AND length GREATER best_length)
      set(best "${folder}")
      set(best_length ${length})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(_violations "")
set(_edges "")
set(_room_sizes "")
set(_index 0)
foreach(_floor ${LAYER_FOLDERS})
  set(_allowed "${LAYER_ALLOWED_${_index}}")
  math(EXPR _index "${_index} + 1")
  file(GLOB_RECURSE _files RELATIVE "${LAYERS_ROOT}" "${LAYERS_ROOT}/${_floor}/*.h" "${LAYERS_ROOT}/${_floor}/*.cpp")
  list(SORT _files)
  foreach(_file ${_files})
    _stavlin_floor_of("${_file}" _owner)
    if(NOT _owner STREQUAL _floor)
      continue()  # a file of a floor inside this one (a qt/ library)
    endif()
    get_filename_component(_room "${_file}" DIRECTORY)
    if(NOT _room STREQUAL _floor)
      list(APPEND _room_sizes "${_room}")
    endif()
    file(STRINGS "${LAYERS_ROOT}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(_line ${_includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" _header "${_line}")
      set(_target "src/${_header}")
      _stavlin_floor_of("${_target}" _target_floor)
      if(_target_floor STREQUAL "")
        continue()  # not a header of ours (or one beside the file)
      endif()
      if(NOT _target_floor STREQUAL _floor AND NOT _target_floor IN_LIST _allowed)
        list(APPEND _violations "${_file} includes ${_header}: ${_floor} may not use ${_target_floor}")
      endif()
      if(GRAPH)
        get_filename_component(_target_room "${_target}" DIRECTORY)
        if(NOT _target_room STREQUAL _room)
          list(APPEND _edges "${_room} -> ${_target_room}")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(GRAPH)
  list(SORT _edges)
  set(_shown "")
  foreach(_edge ${_edges})
    if(NOT _edge IN_LIST _shown)
      list(APPEND _shown "${_edge}")
      set(_matches ${_edges})
      list(FILTER _matches INCLUDE REGEX "^${_edge}$")
      list(LENGTH _matches _count)
      message(STATUS "${_edge} (${_count})")
    endif()
  endforeach()
endif()

list(REMOVE_DUPLICATES _room_sizes)
foreach(_room ${_room_sizes})
  file(GLOB _room_files "${LAYERS_ROOT}/${_room}/*.h" "${LAYERS_ROOT}/${_room}/*.cpp")
  list(LENGTH _room_files _count)
  if(_count GREATER 40)
    message(WARNING "${_room} holds ${_count} source files; split it by job")
  endif()
endforeach()

if(_violations)
  list(JOIN _violations "\n  " _text)
  message(FATAL_ERROR "Includes that reach up the house:\n  ${_text}")
endif()
