# Batched compiles: the sources of a target that share a folder are compiled
# a few at a time as one unit, a file that includes them. Nearly all of a
# compile is the standard library's and GoogleTest's headers, read again for
# every source; in one unit they are read once for the batch, which makes a
# whole build several times cheaper. A source that cannot share a unit (it
# defines something a neighbour defines too, or leaves a macro behind) is
# marked BASTION_COMPILED_ALONE and keeps a compile of its own.
#
# The batch files include their sources by paths relative to themselves, so
# that two checkouts in different folders make the same files and share
# their compiler cache hits (CMake's own unity builds name absolute paths).
option(BASTION_BATCHED_COMPILES "Compile each folder's sources a few at a time as one unit" ON)
set(BASTION_BATCH_SIZE 8 CACHE STRING "Most sources compiled as one unit")

# bastion_compile_alone(<source>...): sources never batched (paths relative
# to the calling folder, or absolute).
function(bastion_compile_alone)
  foreach(_source IN LISTS ARGN)
    get_filename_component(_absolute "${_source}" ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY BASTION_COMPILED_ALONE "${_absolute}")
  endforeach()
endfunction()

# bastion_batch_sources(<target>): replaces the target's C++ sources by batch
# files, one per up to BASTION_BATCH_SIZE sources of one folder. Call it in
# the folder that made the target.
function(bastion_batch_sources target)
  if(NOT BASTION_BATCHED_COMPILES)
    return()
  endif()
  get_target_property(_sources ${target} SOURCES)
  get_target_property(_source_dir ${target} SOURCE_DIR)
  get_property(_alone GLOBAL PROPERTY BASTION_COMPILED_ALONE)
  set(_out "${CMAKE_CURRENT_BINARY_DIR}/batches/${target}")
  set(_kept "")
  set(_folders "")
  foreach(_source IN LISTS _sources)
    get_filename_component(_absolute "${_source}" ABSOLUTE BASE_DIR "${_source_dir}")
    string(FIND "${_absolute}" "${CMAKE_BINARY_DIR}/" _generated)
    if(NOT _absolute MATCHES "\\.cpp$" OR _absolute IN_LIST _alone OR _generated EQUAL 0)
      list(APPEND _kept "${_source}")
      continue()
    endif()
    get_filename_component(_folder "${_absolute}" DIRECTORY)
    string(MAKE_C_IDENTIFIER "${_folder}" _key)
    if(NOT _key IN_LIST _folders)
      list(APPEND _folders ${_key})
      set(_in_${_key} "")
    endif()
    list(APPEND _in_${_key} "${_absolute}")
  endforeach()

  set(_batches "")
  set(_number 0)
  foreach(_key IN LISTS _folders)
    list(LENGTH _in_${_key} _count)
    if(_count LESS 2)
      list(APPEND _kept ${_in_${_key}})
      continue()
    endif()
    list(SORT _in_${_key})
    # Batches of even size, none larger than the limit.
    math(EXPR _parts "(${_count} + ${BASTION_BATCH_SIZE} - 1) / ${BASTION_BATCH_SIZE}")
    math(EXPR _each "(${_count} + ${_parts} - 1) / ${_parts}")
    set(_content "")
    set(_in_batch 0)
    set(_index 0)
    foreach(_absolute IN LISTS _in_${_key})
      file(RELATIVE_PATH _relative "${_out}" "${_absolute}")
      string(APPEND _content "#include \"${_relative}\"\n")
      math(EXPR _in_batch "${_in_batch} + 1")
      math(EXPR _index "${_index} + 1")
      if(_in_batch EQUAL _each OR _index EQUAL _count)
        set(_batch "${_out}/batch${_number}.cpp")
        # Written only when its content changes, so that a configure run
        # rebuilds nothing.
        file(CONFIGURE OUTPUT "${_batch}" CONTENT "${_content}" @ONLY)
        list(APPEND _batches "${_batch}")
        math(EXPR _number "${_number} + 1")
        set(_content "")
        set(_in_batch 0)
      endif()
    endforeach()
  endforeach()
  set_property(TARGET ${target} PROPERTY SOURCES ${_kept} ${_batches})
endfunction()
