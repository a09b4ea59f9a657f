# stavlin_library(<target> <folder> [deps...])
# Builds every .cpp in <folder> and in its subfolders (the rooms of a large
# library, such as the view's core/, input/ and commands/) into one static
# library. A qt/ subfolder is left out: it is a library of its own, on Qt. A
# folder with no sources yet becomes an interface library, so dependants link
# either way.
#
# Each library is also recorded as a floor of the house: its folder and the
# libraries it may use. stavlin_check_layers() then checks that no source
# includes a header from a floor it may not use.
function(stavlin_library target folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/${folder}/(.*/)?qt/")
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(${target} PUBLIC ${ARGN})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
  stavlin_record_layer(${target} ${folder} ${ARGN})
endfunction()

# stavlin_record_layer(<target> <folder> [deps...])
# Records a library built another way (the application shell) as a floor.
function(stavlin_record_layer target folder)
  set_property(GLOBAL APPEND PROPERTY STAVLIN_LAYER_TARGETS ${target})
  set_property(GLOBAL PROPERTY STAVLIN_LAYER_FOLDER_${target} ${folder})
  set_property(GLOBAL PROPERTY STAVLIN_LAYER_DEPS_${target} ${ARGN})
endfunction()

# The folders of the libraries <target> may use, directly or through others.
function(stavlin_layer_reach target out)
  get_property(deps GLOBAL PROPERTY STAVLIN_LAYER_DEPS_${target})
  get_property(known GLOBAL PROPERTY STAVLIN_LAYER_TARGETS)
  set(reach "")
  foreach(dep ${deps})
    if(dep IN_LIST known)
      get_property(folder GLOBAL PROPERTY STAVLIN_LAYER_FOLDER_${dep})
      stavlin_layer_reach(${dep} below)
      list(APPEND reach ${folder} ${below})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set(${out} "${reach}" PARENT_SCOPE)
endfunction()

# Writes the table of floors to the build folder, checks the sources against it
# now (a wrong include fails the configure step) and adds a test that checks
# them again, so an include added since still fails CI.
function(stavlin_check_layers)
  get_property(targets GLOBAL PROPERTY STAVLIN_LAYER_TARGETS)
  set(table "${CMAKE_BINARY_DIR}/StavlinLayers.cmake")
  set(text "# Written by stavlin_check_layers(): each floor's folder and the folders it may use.\n")
  set(folders "")
  set(index 0)
  foreach(target ${targets})
    get_property(folder GLOBAL PROPERTY STAVLIN_LAYER_FOLDER_${target})
    stavlin_layer_reach(${target} reach)
    list(APPEND folders ${folder})
    string(APPEND text "set(LAYER_ALLOWED_${index} \"${reach}\")\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND text "set(LAYER_FOLDERS \"${folders}\")\n")
  file(WRITE "${table}" "${text}")

  set(LAYERS_TABLE "${table}")
  set(LAYERS_ROOT "${CMAKE_SOURCE_DIR}")
  include("${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake")
endfunction()
