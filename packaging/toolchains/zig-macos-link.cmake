# Link rule of the Zig cross build (zig-macos-x86_64.cmake): a Mach-O bundle
# made by ld64.lld, only the symbols the target's list names exported.
set(CMAKE_CXX_CREATE_SHARED_MODULE
  "${QA_LD64_LLD} -bundle -arch x86_64 -platform_version macos ${QA_MACOS_MIN_VERSION} ${QA_MACOS_MIN_VERSION} -dead_strip <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES>")
