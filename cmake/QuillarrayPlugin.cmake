# qa_add_plugin(<target> <object-library>)
# Builds every plug-in the same way: a loadable module, hidden symbols, only
# EffectMain and PluginDataEntryFunction exported, the platform's suffix
# (.aex on Windows, a .plugin bundle on macOS, .so elsewhere for the stand-in
# host), and on Windows and macOS the property list where the host reads it.
include(${CMAKE_CURRENT_LIST_DIR}/QuillarrayPiPL.cmake)

function(qa_add_plugin target objects)
  add_library(${target} MODULE $<TARGET_OBJECTS:${objects}>)
  target_link_libraries(${target} PRIVATE ${objects})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    set_target_properties(${target} PROPERTIES SUFFIX ".aex")
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/exports.def)
    if(MINGW)
      # The C++ runtime goes inside the .aex: no DLL beside it to ship. The
      # static runtime libraries bring debug sections along; strip them from
      # optimised builds.
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
        $<$<NOT:$<CONFIG:Debug>>:-s>)
    endif()
  elseif(APPLE)
    # The bundle is laid out here, not by CMake's BUNDLE property: CMake then
    # writes an Info.plist of its own into the bundle each time it generates
    # the build, over the one generated from the identity table.
    set(bundle ${CMAKE_CURRENT_BINARY_DIR}/${target}.plugin)
    set_target_properties(${target} PROPERTIES SUFFIX "" QA_BUNDLE_DIR ${bundle})
    target_link_options(${target} PRIVATE
      -exported_symbols_list ${PROJECT_SOURCE_DIR}/cmake/exports.apple)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/exports.apple)
    if(QA_ZIG_TARGET)
      # Cross-built on Linux (packaging/toolchains/zig-macos.cmake), one
      # processor per build: the slice goes to slices/<arch>/, and the bundle
      # is assembled from both slices (qa_macos_bundle).
      set_target_properties(${target} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY $<1:${CMAKE_CURRENT_BINARY_DIR}/slices/${QA_MACOS_ARCH}>)
      include(${PROJECT_SOURCE_DIR}/packaging/toolchains/zig-macos-runtime.cmake)
      qa_zig_runtime(${target})
      # Optimised builds leave out the debug map (paths of this machine's objects).
      target_link_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-S>)
      if(QA_MACOS_SLICE_ONLY)
        return()
      endif()
    else()
      # Apple's toolchain makes the universal file itself (CMAKE_OSX_ARCHITECTURES).
      set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY $<1:${bundle}/Contents/MacOS>)
    endif()
  else()
    target_link_options(${target} PRIVATE
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/exports.map -Wl,--no-undefined)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/exports.map)
  endif()
  qa_plugin_resources(${target})
endfunction()
