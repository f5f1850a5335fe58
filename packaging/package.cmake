# One ZIP of the plug-ins of several builds and the install note: each build's
# `plugin` install component (the .aex, the .plugin bundle, INSTALL.txt) under
# Quillarray-<version>/, written whole or not at all.
#   cmake -DBUILDS=<build folder>[;<build folder>...] -DOUT_DIR=<folder> -P package.cmake
# Prints the ZIP's path last.
if(NOT BUILDS OR NOT OUT_DIR)
  message(FATAL_ERROR "usage: cmake -DBUILDS=<build folder>[;...] -DOUT_DIR=<folder> -P package.cmake")
endif()
# Relative folders are taken from where cmake runs; the archive is written
# from inside the stage folder, so every path used there must be absolute.
get_filename_component(OUT_DIR "${OUT_DIR}" ABSOLUTE)
set(absolute_builds "")
foreach(build IN LISTS BUILDS)
  get_filename_component(build "${build}" ABSOLUTE)
  list(APPEND absolute_builds "${build}")
endforeach()
set(BUILDS "${absolute_builds}")
set(version "")
foreach(build IN LISTS BUILDS)
  if(NOT EXISTS ${build}/cmake_install.cmake)
    message(FATAL_ERROR "${build} is not a configured build")
  endif()
  file(STRINGS ${build}/CMakeCache.txt line REGEX "^CMAKE_PROJECT_VERSION:")
  string(REGEX REPLACE "^[^=]*=" "" build_version "${line}")
  if(version AND NOT version STREQUAL build_version)
    message(FATAL_ERROR "${build} is version ${build_version}, not ${version}")
  endif()
  set(version ${build_version})
endforeach()

set(name Quillarray-${version})
set(stage ${OUT_DIR}/stage)
file(REMOVE_RECURSE ${stage})
foreach(build IN LISTS BUILDS)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${build} --prefix ${stage}/${name} --component plugin
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "installing ${build} failed:\n${out}")
  endif()
endforeach()
set(zip ${OUT_DIR}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip}.part --format=zip ${name}
  WORKING_DIRECTORY ${stage} RESULT_VARIABLE rc ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  file(REMOVE ${zip}.part)
  message(FATAL_ERROR "writing ${zip} failed:\n${out}")
endif()
file(RENAME ${zip}.part ${zip})
file(REMOVE_RECURSE ${stage})
message(STATUS "${zip}")
