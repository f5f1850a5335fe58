# qa_pipl_tool(<command-var> <depends-var>)
# Where the property-list generator (quillarray-pipl) comes from. A native
# build builds it as a target of its own (packaging/tools). A cross build
# cannot run what it compiles, so it takes QA_PIPL_TOOL, a generator already
# built for this machine, or else configures packaging/tools as a separate
# project with this machine's compiler and builds it first.
set(QA_PIPL_TOOL "" CACHE FILEPATH "Native quillarray-pipl for cross builds (built here when empty)")

function(qa_pipl_tool command_var depends_var)
  if(NOT CMAKE_CROSSCOMPILING)
    if(NOT TARGET quillarray-pipl)
      add_subdirectory(${PROJECT_SOURCE_DIR}/packaging/tools ${CMAKE_BINARY_DIR}/packaging/tools)
    endif()
    set(${command_var} $<TARGET_FILE:quillarray-pipl> PARENT_SCOPE)
    set(${depends_var} quillarray-pipl PARENT_SCOPE)
  elseif(QA_PIPL_TOOL)
    set(${command_var} ${QA_PIPL_TOOL} PARENT_SCOPE)
    set(${depends_var} ${QA_PIPL_TOOL} PARENT_SCOPE)
  else()
    set(dir ${CMAKE_BINARY_DIR}/native-tools)
    set(tool ${dir}/quillarray-pipl)
    if(CMAKE_HOST_WIN32)
      set(tool ${tool}.exe)
    endif()
    if(NOT TARGET quillarray_pipl_native)
      include(ExternalProject)
      # No toolchain file and no cross compiler reach this configure.
      ExternalProject_Add(quillarray_pipl_native
        SOURCE_DIR ${PROJECT_SOURCE_DIR}/packaging/tools
        BINARY_DIR ${dir}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQA_WARNINGS_AS_ERRORS=${QA_WARNINGS_AS_ERRORS}
        BUILD_BYPRODUCTS ${tool}
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
    endif()
    set(${command_var} ${tool} PARENT_SCOPE)
    set(${depends_var} quillarray_pipl_native ${tool} PARENT_SCOPE)
  endif()
endfunction()

# qa_plugin_resources(<target>)
# Builds the property list into the plug-in the way each system's host reads
# it: on Windows a PIPL resource compiled into the .aex; on macOS a resource
# file in the bundle's Resources, with the bundle's Info.plist and PkgInfo.
# Also makes <target>_resources, which writes the generated files; the
# target's QA_RESOURCE_DIR property names their folder (on Windows it holds
# expected_pipl.h, the list's bytes for checks).
function(qa_plugin_resources target)
  # Every build has the generator, so that tests and other builds can use it.
  qa_pipl_tool(tool tool_depends)
  if(NOT WIN32 AND NOT APPLE)
    return()
  endif()
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources)
  set_target_properties(${target} PROPERTIES QA_RESOURCE_DIR ${gen})
  if(WIN32)
    set(outputs ${gen}/pipl.bin ${gen}/pipl.rc ${gen}/expected_pipl.h)
    set(args --windows-bin ${gen}/pipl.bin --windows-rc ${gen}/pipl.rc --windows-header ${gen}/expected_pipl.h)
  else()
    set(outputs ${gen}/${target}.rsrc ${gen}/Info.plist ${gen}/PkgInfo)
    set(args --mac-rsrc ${gen}/${target}.rsrc --mac-info-plist ${gen}/Info.plist --mac-pkginfo ${gen}/PkgInfo)
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
    COMMAND ${tool} ${args}
    DEPENDS ${tool_depends}
    COMMENT "Generating the property list of ${target}"
    VERBATIM)
  add_custom_target(${target}_resources DEPENDS ${outputs})
  add_dependencies(${target} ${target}_resources)

  if(WIN32)
    target_sources(${target} PRIVATE ${gen}/pipl.rc)
    set_source_files_properties(${gen}/pipl.rc PROPERTIES OBJECT_DEPENDS ${gen}/pipl.bin)
  elseif(QA_ZIG_TARGET)
    qa_macos_bundle(${target} ${gen})
  else()
    # On a Mac: Apple's linker made the universal executable inside the
    # bundle; the resources go beside it and Apple's codesign signs the whole
    # (ad-hoc unless QA_CODESIGN_IDENTITY names a Developer ID identity).
    get_target_property(bundle ${target} QA_BUNDLE_DIR)
    set(contents ${bundle}/Contents)
    set(QA_CODESIGN_IDENTITY "-" CACHE STRING
      "codesign identity for the bundle: - (ad-hoc) or a Developer ID Application identity")
    set(sign_options --force --sign ${QA_CODESIGN_IDENTITY})
    if(NOT QA_CODESIGN_IDENTITY STREQUAL "-")
      # What notarisation asks for: the hardened runtime and a secure timestamp.
      list(APPEND sign_options --options runtime --timestamp)
    endif()
    # A changed file relinks the module, which copies them again.
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${outputs})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${contents}/Resources
      COMMAND ${CMAKE_COMMAND} -E copy ${gen}/${target}.rsrc ${contents}/Resources/${target}.rsrc
      COMMAND ${CMAKE_COMMAND} -E copy ${gen}/Info.plist ${contents}/Info.plist
      COMMAND ${CMAKE_COMMAND} -E copy ${gen}/PkgInfo ${contents}/PkgInfo
      COMMAND codesign ${sign_options} ${bundle}
      VERBATIM)
  endif()
endfunction()

# qa_macos_bundle(<target> <resource folder>)
# The cross-built bundle (packaging/toolchains/zig-macos.cmake): this build
# compiles the x86_64 slice, a sub-build of the same sources the arm64 slice;
# llvm-lipo joins them, the resources go beside them and the project's own
# signer (packaging/tools/macos_sign.py) seals the resources and signs every
# slice. The bundle is laid out afresh each time, so that it holds exactly
# what was signed.
function(qa_macos_bundle target gen)
  get_target_property(bundle ${target} QA_BUNDLE_DIR)
  set(contents ${bundle}/Contents)
  set(slices ${CMAKE_CURRENT_BINARY_DIR}/slices)
  set(arm_build ${CMAKE_BINARY_DIR}/macos-arm64)
  set(arm_slice ${arm_build}/slices/arm64/${target})
  include(ExternalProject)
  ExternalProject_Add(${target}_arm64
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${arm_build}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/packaging/toolchains/zig-macos.cmake
      -DQA_MACOS_ARCH=arm64
      -DQA_MACOS_SLICE_ONLY=ON
      -DQA_ZIG_DIR=${QA_ZIG_DIR}
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DQA_BUILD_HOST_TOOLS=OFF
      -DQA_WARNINGS_AS_ERRORS=${QA_WARNINGS_AS_ERRORS}
      -DQUILLARRAY_HOST_SDK_DIR=${QUILLARRAY_HOST_SDK_DIR}
    # The layout check too: the host interface laid out as the arm64 ABI needs.
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${arm_build} --target ${target} qa_sdk_layout_check
    BUILD_BYPRODUCTS ${arm_slice}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(signer ${PROJECT_SOURCE_DIR}/packaging/tools/macos_sign.py)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}-bundle.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${bundle}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${contents}/MacOS ${contents}/Resources
    COMMAND ${CMAKE_COMMAND} -E copy ${gen}/${target}.rsrc ${contents}/Resources/${target}.rsrc
    COMMAND ${CMAKE_COMMAND} -E copy ${gen}/Info.plist ${contents}/Info.plist
    COMMAND ${CMAKE_COMMAND} -E copy ${gen}/PkgInfo ${contents}/PkgInfo
    COMMAND ${QA_LLVM_LIPO} -create $<TARGET_FILE:${target}> ${arm_slice} -output ${contents}/MacOS/${target}
    COMMAND Python3::Interpreter ${signer} ${bundle}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${target} $<TARGET_FILE:${target}> ${target}_arm64 ${arm_slice} ${gen}/${target}.rsrc ${gen}/Info.plist
            ${gen}/PkgInfo ${signer}
    COMMENT "Joining both slices into ${target}.plugin and signing it"
    VERBATIM)
  add_custom_target(${target}_bundle ALL DEPENDS ${stamp})
endfunction()
