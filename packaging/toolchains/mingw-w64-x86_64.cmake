# Cross build for Windows x64 with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# The win32 thread model: the effect starts no threads and takes no locks, and
# this model needs no winpthread library beside the .aex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(QA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QA_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QA_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${QA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
