# macOS cross build on Linux (preset `macos`, `make macos`): Zig 0.11.0's
# clang compiles against the macOS headers and libc++ that Zig carries;
# Debian's ld64.lld links each processor's slice (Zig's own Mach-O linker
# makes no bundle and ignores an exported-symbols list) against the C++
# runtime archives that Zig builds for the target (zig-macos-runtime.cmake)
# and Zig's libSystem stubs. `make deps` installs Zig into build/toolchains.
#
# QA_MACOS_ARCH picks the slice this build compiles: x86_64 (the default,
# whose build also builds the arm64 slice as a sub-build, joins both and
# signs the bundle: cmake/QuillarrayPlugin.cmake) or arm64.
set(CMAKE_SYSTEM_NAME Darwin)
if(NOT QA_MACOS_ARCH)
  set(QA_MACOS_ARCH x86_64)
endif()
set(QA_MACOS_ARCH ${QA_MACOS_ARCH} CACHE STRING "Processor of the slice this build compiles: x86_64 or arm64")
if(QA_MACOS_ARCH STREQUAL "x86_64")
  set(_qa_zig_cpu x86_64)
elseif(QA_MACOS_ARCH STREQUAL "arm64")
  set(_qa_zig_cpu aarch64)
else()
  message(FATAL_ERROR "QA_MACOS_ARCH is ${QA_MACOS_ARCH}: x86_64 or arm64")
endif()
set(CMAKE_SYSTEM_PROCESSOR ${QA_MACOS_ARCH})

get_filename_component(_qa_root ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
set(QA_ZIG_DIR ${_qa_root}/build/toolchains/zig-0.11.0 CACHE PATH "Zig 0.11.0 (make deps installs it)")
if(NOT EXISTS ${QA_ZIG_DIR}/zig)
  message(FATAL_ERROR "No Zig in ${QA_ZIG_DIR}: run `make deps`, or set QA_ZIG_DIR")
endif()

# The oldest macOS whose headers (and libSystem stubs) Zig 0.11 carries; the
# README names it. The SDK version written into the bundle is the same.
set(QA_MACOS_MIN_VERSION 11.0)
set(QA_MACOS_LIBSYSTEM ${QA_ZIG_DIR}/lib/libc/darwin/libSystem.11.tbd)
set(QA_ZIG_TARGET ${_qa_zig_cpu}-macos.${QA_MACOS_MIN_VERSION}-none)
set(CMAKE_C_COMPILER ${CMAKE_CURRENT_LIST_DIR}/zig-cc.sh ${QA_ZIG_DIR} cc -target ${QA_ZIG_TARGET})
set(CMAKE_CXX_COMPILER ${CMAKE_CURRENT_LIST_DIR}/zig-cc.sh ${QA_ZIG_DIR} c++ -target ${QA_ZIG_TARGET})
# The target is in the compiler's arguments: no -arch, -isysroot or
# -mmacosx-version-min from CMake.
set(CMAKE_OSX_ARCHITECTURES "" CACHE STRING "" FORCE)
set(CMAKE_OSX_DEPLOYMENT_TARGET "" CACHE STRING "" FORCE)
set(CMAKE_OSX_SYSROOT "" CACHE STRING "" FORCE)
# Compiler checks compile without linking: a link would build the C++
# runtime at configure time.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QA_ZIG_DIR QA_MACOS_ARCH)

find_program(QA_LD64_LLD NAMES ld64.lld ld64.lld-16 ld64.lld-15 ld64.lld-14 REQUIRED)
find_program(QA_LLVM_LIPO NAMES llvm-lipo llvm-lipo-16 llvm-lipo-15 llvm-lipo-14 REQUIRED)
find_program(CMAKE_AR NAMES llvm-ar llvm-ar-14 ar)
find_program(CMAKE_RANLIB NAMES llvm-ranlib llvm-ranlib-14 ranlib)
# Bundles link with ld64.lld directly; the C++ runtime and libSystem come in
# as link libraries (qa_add_plugin).
set(CMAKE_USER_MAKE_RULES_OVERRIDE_CXX ${CMAKE_CURRENT_LIST_DIR}/zig-macos-link.cmake)
