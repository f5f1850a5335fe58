# The C++ runtime of the Zig cross build (zig-macos.cmake): libc++,
# libc++abi and compiler-rt as Zig builds them for the target, linked into the
# bundle statically; its exported-symbols list keeps them hidden.
#
# Included by qa_add_plugin: qa_zig_runtime(<target>) links the archives and
# Zig's libSystem stubs into <target>, the archives copied to
# <build>/zig-runtime by a build step that runs this file as a script:
#   cmake -DZIG_CC=<zig-cc.sh> -DZIG_DIR=<zig> -DZIG_TARGET=<triple> -DOUT_DIR=<folder> -P zig-macos-runtime.cmake
# Zig builds the archives into its cache when it links C++ code itself: a
# small library linked with Zig makes it name them on its link line
# (ZIG_VERBOSE_LINK). The same flags as CMake's compiler identification,
# which links with Zig too, so Zig builds them once (optimised either way).

if(CMAKE_SCRIPT_MODE_FILE)
  set(probe ${OUT_DIR}/probe)
  file(MAKE_DIRECTORY ${probe})
  file(WRITE ${probe}/probe.cpp
    "#include <stdexcept>\n#include <string>\n"
    "int qa_runtime_probe(int n) { if (n < 0) throw std::runtime_error(std::to_string(n)); return n; }\n")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ZIG_VERBOSE_LINK=1
            ${ZIG_CC} ${ZIG_DIR} c++ -target ${ZIG_TARGET} -shared ${probe}/probe.cpp -o ${probe}/probe.dylib
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "zig c++ could not link the runtime probe:\n${out}")
  endif()
  foreach(archive libc++.a libc++abi.a libcompiler_rt.a)
    string(REPLACE "+" "\\+" pattern ${archive})
    string(REGEX MATCH "[^ \n]*/${pattern}" path "${out}")
    if(NOT path OR NOT EXISTS "${path}")
      message(FATAL_ERROR "zig c++ did not name ${archive} on its link line:\n${out}")
    endif()
    file(COPY_FILE ${path} ${OUT_DIR}/${archive} ONLY_IF_DIFFERENT)
  endforeach()
  return()
endif()

function(qa_zig_runtime target)
  set(dir ${CMAKE_BINARY_DIR}/zig-runtime)
  set(archives ${dir}/libc++.a ${dir}/libc++abi.a ${dir}/libcompiler_rt.a)
  add_custom_command(OUTPUT ${archives}
    COMMAND ${CMAKE_COMMAND} -DZIG_CC=${PROJECT_SOURCE_DIR}/packaging/toolchains/zig-cc.sh -DZIG_DIR=${QA_ZIG_DIR}
            -DZIG_TARGET=${QA_ZIG_TARGET} -DOUT_DIR=${dir} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Building the C++ runtime for ${QA_ZIG_TARGET} with Zig (cached in build/toolchains/zig-cache)"
    VERBATIM)
  add_custom_target(${target}_zig_runtime DEPENDS ${archives})
  add_dependencies(${target} ${target}_zig_runtime)
  target_link_libraries(${target} PRIVATE ${archives} ${QA_MACOS_LIBSYSTEM})
endfunction()
