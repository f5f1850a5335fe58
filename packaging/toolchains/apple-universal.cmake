# macOS with Apple's clang, on a Mac (Intel or Apple silicon): one universal
# executable of an x86_64 and an arm64 slice, signed with Apple's codesign
# (cmake/QuillarrayPiPL.cmake); a native build, so the resource generator
# runs where it is built. The bundle needs Apple's linker and SDK, which only
# a Mac has.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_OSX_ARCHITECTURES "x86_64;arm64" CACHE STRING "Processors the plug-in is built for")
# The same oldest macOS as the bundle cross-built on Linux (zig-macos.cmake).
set(CMAKE_OSX_DEPLOYMENT_TARGET 11.0 CACHE STRING "Oldest macOS the plug-in loads on")
