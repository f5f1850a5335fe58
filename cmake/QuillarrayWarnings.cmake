# One set of warnings for every target of the project.
function(qa_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QA_WARNINGS_AS_ERRORS}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
      -Wno-sign-conversion $<$<BOOL:${QA_WARNINGS_AS_ERRORS}>:-Werror>)
  endif()
endfunction()
