# One static library per layer directory of src/. A layer links the layers
# below it only; the order of BASTION_PORTABLE_LAYERS is the order of the
# layers from the bottom up.
set(BASTION_TOP_LAYER cli)
set(BASTION_PORTABLE_LAYERS
    common platform services definitions scan removal update shields scheduler report ui app cli)

# bastion_layer(<dir>) builds src/<dir>/**.cpp (win32/ folders left out) into
# bastion_<dir>, linked to every layer listed before it.
set(_bastion_layers_below "")
function(bastion_layer dir)
  # Filtered on the path inside the layer: the checkout itself may lie in a
  # folder named win32.
  file(GLOB_RECURSE _sources RELATIVE "${CMAKE_SOURCE_DIR}/src/${dir}" CONFIGURE_DEPENDS
       "${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp")
  list(FILTER _sources EXCLUDE REGEX "(^|/)win32/")
  list(TRANSFORM _sources PREPEND "${CMAKE_SOURCE_DIR}/src/${dir}/")
  set(_target bastion_${dir})
  if(_sources)
    add_library(${_target} STATIC ${_sources})
    bastion_batch_sources(${_target})
    target_include_directories(${_target} PUBLIC "${CMAKE_SOURCE_DIR}/src" "${BASTION_GENERATED_DIR}")
    target_link_libraries(${_target} PUBLIC ${_bastion_layers_below})
  else()
    add_library(${_target} INTERFACE)
    target_include_directories(${_target} INTERFACE "${CMAKE_SOURCE_DIR}/src" "${BASTION_GENERATED_DIR}")
    target_link_libraries(${_target} INTERFACE ${_bastion_layers_below})
  endif()
  list(APPEND _bastion_layers_below ${_target})
  set(_bastion_layers_below "${_bastion_layers_below}" PARENT_SCOPE)
endfunction()

# bastion_win32_layer(<dir> <libs...>) builds src/<dir>/win32/**.cpp into
# bastion_<dir>_win32; only Windows builds have these.
function(bastion_win32_layer dir)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${dir}/win32/*.cpp")
  set(_target bastion_${dir}_win32)
  if(_sources)
    add_library(${_target} STATIC ${_sources})
    bastion_batch_sources(${_target})
    target_include_directories(${_target} PUBLIC "${CMAKE_SOURCE_DIR}/src" "${BASTION_GENERATED_DIR}")
    target_link_libraries(${_target} PUBLIC ${ARGN})
  else()
    add_library(${_target} INTERFACE)
    target_include_directories(${_target} INTERFACE "${CMAKE_SOURCE_DIR}/src" "${BASTION_GENERATED_DIR}")
    target_link_libraries(${_target} INTERFACE ${ARGN})
  endif()
endfunction()
