# Builds the effect against a copy of sdk/ whose SP error codes are spelled
# as four-character literals ('!IMP'), as the host vendor's own headers spell
# them: natively and with the Windows preset, each only the plug-in and the
# layout check. Run with cmake -P:
#   -DSOURCE_DIR=<checkout> -DWORK_DIR=<scratch folder> -DGENERATOR=<generator>
#   -DPIPL_TOOL=<native quillarray-pipl> [-DWINDOWS=ON] [-DLAUNCHER=ccache]
# The copy is made afresh from sdk/ on every run, so it cannot drift.
cmake_minimum_required(VERSION 3.25)

foreach(var SOURCE_DIR WORK_DIR GENERATOR PIPL_TOOL)
  if(NOT ${var})
    message(FATAL_ERROR "vendor_style_sdk_build.cmake: ${var} is not set")
  endif()
endforeach()

# ---- the copy ----
set(sdk ${WORK_DIR}/sdk)
file(MAKE_DIRECTORY ${sdk})
# Unchanged files keep their time stamps, so a second run rebuilds nothing.
file(COPY ${SOURCE_DIR}/sdk/ DESTINATION ${sdk} PATTERN SPErrorCodes.h EXCLUDE)
file(READ ${SOURCE_DIR}/sdk/SP/SPErrorCodes.h codes)
# Our spelling: 0x21494d50 /* '!IMP' */ ; the vendor's: '!IMP'.
string(REGEX MATCHALL "0x[0-9a-fA-F]+[ \t]+/\\* '[^']+' \\*/" ours "${codes}")
list(LENGTH ours spelled)
string(REGEX REPLACE "0x[0-9a-fA-F]+[ \t]+/\\* ('[^']+') \\*/" "\\1" vendor "${codes}")
if(spelled LESS 25 OR vendor MATCHES "0x[0-9a-fA-F]+[ \t]+/\\*")
  message(FATAL_ERROR "sdk/SP/SPErrorCodes.h: found ${spelled} error codes written as 0x... /* 'abcd' */, "
    "expected every four-character code so; the copy would not test what it should")
endif()
file(WRITE ${sdk}/SP/SPErrorCodes.h.new "${vendor}")
file(COPY_FILE ${sdk}/SP/SPErrorCodes.h.new ${sdk}/SP/SPErrorCodes.h ONLY_IF_DIFFERENT)
file(REMOVE ${sdk}/SP/SPErrorCodes.h.new)
message(STATUS "${spelled} error codes spelled as four-character literals in ${sdk}/SP/SPErrorCodes.h")

# ---- the builds ----
set(common -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release -DQA_BUILD_HOST_TOOLS=OFF -DQA_WARNINGS_AS_ERRORS=ON
  -DQUILLARRAY_HOST_SDK_DIR=${sdk})
if(LAUNCHER)
  list(APPEND common -DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER} -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()

function(build_against_copy label)
  set(dir ${WORK_DIR}/${label})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${dir} ${common} ${ARGN}
    OUTPUT_FILE ${dir}-configure.log ERROR_FILE ${dir}-configure.log RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    file(READ ${dir}-configure.log log)
    message(FATAL_ERROR "${label}: configuring against the vendor-style headers failed:\n${log}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${dir} --target Quillarray qa_host_sdk_layout_check -j 2
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${label}: building against the vendor-style headers failed:\n${out}")
  endif()
  message(STATUS "${label}: the plug-in and the layout check build against the vendor-style headers")
endfunction()

build_against_copy(native)
if(WINDOWS)
  # The windows preset's settings, in a folder of this test's own.
  build_against_copy(windows --preset windows -DQA_PIPL_TOOL=${PIPL_TOOL})
endif()
