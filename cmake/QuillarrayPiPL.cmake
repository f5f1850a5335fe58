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
  else()
    get_target_property(bundle ${target} QA_BUNDLE_DIR)
    set(contents ${bundle}/Contents)
    # A changed file relinks the module, which copies them again.
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${outputs})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${contents}/Resources
      COMMAND ${CMAKE_COMMAND} -E copy ${gen}/${target}.rsrc ${contents}/Resources/${target}.rsrc
      COMMAND ${CMAKE_COMMAND} -E copy ${gen}/Info.plist ${contents}/Info.plist
      COMMAND ${CMAKE_COMMAND} -E copy ${gen}/PkgInfo ${contents}/PkgInfo
      VERBATIM)
  endif()
endfunction()
